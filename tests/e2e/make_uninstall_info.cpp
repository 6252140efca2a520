// make_uninstall_info OUT ITEM...: writes an uninstall information file with the core's
// encoder, as the installer does, so that the uninstaller's end-to-end test can list
// exactly what it wants removed. Each ITEM is KIND=TEXT, with KIND one of file, shared,
// folder, shortcut, control, installation; font=PATH|VALUE NAME; key=ROOT|KEY with ROOT a
// number such as 0x80000001.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/UninstallInfo.h"

namespace {

struct Kind {
    const char* name;
    sw::UninstallItem item;
};
constexpr Kind kKinds[] = {{"file", sw::UninstallItem::file},       {"shared", sw::UninstallItem::sharedFile},
                           {"folder", sw::UninstallItem::folder},   {"shortcut", sw::UninstallItem::shortcut},
                           {"font", sw::UninstallItem::font},       {"control", sw::UninstallItem::control},
                           {"key", sw::UninstallItem::registryKey}, {"installation", sw::UninstallItem::installation}};

bool Encode(const std::string& item, std::vector<std::uint8_t>& out)
{
    std::size_t equals = item.find('=');
    if (equals == std::string::npos) return false;
    std::string kind = item.substr(0, equals), text = item.substr(equals + 1), second;
    sw::UninstallRecord record{};
    const Kind* found = nullptr;
    for (const Kind& k : kKinds)
        if (kind == k.name) found = &k;
    if (!found) return false;
    record.kind = found->item;
    std::size_t bar = text.find('|');
    if (record.kind == sw::UninstallItem::registryKey || record.kind == sw::UninstallItem::font) {
        if (bar == std::string::npos) return false;
        second = text.substr(bar + 1);
        text = text.substr(0, bar);
        if (record.kind == sw::UninstallItem::registryKey) {
            record.root = static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
            text = second;
            second.clear();
        }
    }
    record.text[0] = text.data();
    record.length[0] = text.size();
    record.text[1] = second.empty() ? nullptr : second.data();
    record.length[1] = second.size();
    std::vector<std::uint8_t> bytes(text.size() + second.size() + sw::kUninstallRecordFixedSize);
    std::size_t size = sw::EncodeUninstallRecord(record, bytes.data(), bytes.size());
    out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    return size > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_uninstall_info OUT KIND=TEXT...\n");
        return 2;
    }
    std::vector<std::uint8_t> out(sw::kUninstallInfoHeaderSize);
    sw::UninstallInfoHeader(out.data(), out.size());
    for (int i = 2; i < argc; ++i) {
        if (!Encode(argv[i], out)) {
            std::fprintf(stderr, "make_uninstall_info: not an item: %s\n", argv[i]);
            return 2;
        }
    }
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "make_uninstall_info: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
