#include "platform/FileVersion.h"

#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace sw {

namespace {

// Where the bytes of an image come from. Reads are all-or-nothing, so a short file can
// never leave a half-filled header behind. Files are read piece by piece with pread
// rather than loaded whole: the programs being packed can be hundreds of megabytes, and
// only a few hundred bytes of headers and the version resource itself are needed.
class ImageSource {
public:
    virtual ~ImageSource() = default;
    virtual std::uint64_t Size() const = 0;
    virtual bool Read(std::uint64_t offset, void* out, std::size_t count) const = 0;
};

class MemorySource final : public ImageSource {
public:
    explicit MemorySource(std::string_view image) : m_image(image) {}
    std::uint64_t Size() const override { return m_image.size(); }
    bool Read(std::uint64_t offset, void* out, std::size_t count) const override
    {
        if (offset > m_image.size() || count > m_image.size() - offset) return false;
        if (count != 0) std::memcpy(out, m_image.data() + offset, count);
        return true;
    }

private:
    std::string_view m_image;
};

class FileSource final : public ImageSource {
public:
    FileSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    std::uint64_t Size() const override { return m_size; }
    bool Read(std::uint64_t offset, void* out, std::size_t count) const override
    {
        if (offset > m_size || count > m_size - offset) return false;
        auto* bytes = static_cast<char*>(out);
        while (count != 0) {
            ssize_t got = ::pread(m_fd, bytes, count, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;  // a read error, or the file shrank meanwhile
            bytes += got;
            count -= static_cast<std::size_t>(got);
            offset += static_cast<std::uint64_t>(got);
        }
        return true;
    }

private:
    int m_fd;
    std::uint64_t m_size;
};

std::uint16_t U16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t U16(std::string_view bytes, std::size_t at)
{
    return U16(reinterpret_cast<const unsigned char*>(bytes.data()) + at);
}

std::uint32_t U32(std::string_view bytes, std::size_t at)
{
    return U32(reinterpret_cast<const unsigned char*>(bytes.data()) + at);
}

constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr std::size_t kFixedFileInfoSize = 52;
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kLfanewAt = 0x3C;
constexpr std::size_t kPeHeaderSize = 24;  // "PE\0\0" and the COFF file header
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kHighBit = 0x80000000;
// A version resource is one block whose length is a 16-bit field; nothing beyond that
// is ever looked at, which also bounds what is read into memory.
constexpr std::size_t kMaxVersionResource = 0xFFFF;

// A stretch of the file: where it starts and how many bytes of it the file holds.
struct FileRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

bool ReadIn(const ImageSource& source, const FileRange& range, std::uint64_t at, void* out, std::size_t count)
{
    if (at > range.length || count > range.length - at) return false;
    return source.Read(range.offset + at, out, count);
}

class PeImage {
public:
    explicit PeImage(const ImageSource& source) : m_source(source) {}

    // Reads the headers up to the resource directory's RVA; false for anything that is
    // not a PE32 or PE32+ image with a resource directory.
    bool ReadHeaders()
    {
        unsigned char dos[kDosHeaderSize];
        if (!m_source.Read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
        const std::uint64_t peAt = U32(dos + kLfanewAt);
        unsigned char pe[kPeHeaderSize];
        if (!m_source.Read(peAt, pe, sizeof pe) || std::memcmp(pe, "PE\0\0", 4) != 0) return false;
        m_sectionCount = U16(pe + 6);
        const std::uint16_t optionalSize = U16(pe + 20);
        const std::uint64_t optionalAt = peAt + kPeHeaderSize;

        unsigned char magic[2];
        if (!m_source.Read(optionalAt, magic, sizeof magic)) return false;
        std::size_t countAt = 0;
        std::size_t directoriesAt = 0;
        switch (U16(magic)) {
        case 0x10B: countAt = 92; directoriesAt = 96; break;    // PE32
        case 0x20B: countAt = 108; directoriesAt = 112; break;  // PE32+
        default: return false;
        }
        // The header must be declared large enough to hold the resource directory entry,
        // and the count of entries must reach it; beyond the count the bytes belong to
        // something else.
        const std::size_t needed = directoriesAt + 8 * (kResourceDirectoryIndex + 1);
        if (optionalSize < needed) return false;
        unsigned char optional[112 + 8 * (kResourceDirectoryIndex + 1)];
        if (!m_source.Read(optionalAt, optional, needed)) return false;
        if (U32(optional + countAt) <= kResourceDirectoryIndex) return false;
        m_resourceRva = U32(optional + directoriesAt + 8 * kResourceDirectoryIndex);
        m_sectionTableAt = optionalAt + optionalSize;
        return m_resourceRva != 0;
    }

    // The file bytes behind an RVA: the section holding it, from that RVA to the end of
    // the section's raw data (and never past the end of the file). A loader fills the
    // rest of the section with zeros; nothing worth reading lives there.
    std::optional<FileRange> Map(std::uint32_t rva) const
    {
        for (std::uint32_t i = 0; i < m_sectionCount; ++i) {
            unsigned char header[kSectionHeaderSize];
            if (!m_source.Read(m_sectionTableAt + i * kSectionHeaderSize, header, sizeof header)) return std::nullopt;
            const std::uint32_t virtualAddress = U32(header + 12);
            const std::uint32_t virtualSize = U32(header + 8);
            const std::uint32_t rawSize = U32(header + 16);
            const std::uint32_t rawAt = U32(header + 20);
            const std::uint32_t extent = virtualSize != 0 ? virtualSize : rawSize;
            if (rva < virtualAddress || rva - virtualAddress >= extent) continue;
            const std::uint32_t delta = rva - virtualAddress;
            const std::uint32_t backed = std::min(extent, rawSize);
            if (delta >= backed) return std::nullopt;
            FileRange range{std::uint64_t{rawAt} + delta, backed - delta};
            if (range.offset >= m_source.Size()) return std::nullopt;
            range.length = std::min(range.length, m_source.Size() - range.offset);
            return range;
        }
        return std::nullopt;
    }

    std::uint32_t ResourceRva() const { return m_resourceRva; }
    const ImageSource& Source() const { return m_source; }

private:
    const ImageSource& m_source;
    std::uint32_t m_sectionCount = 0;
    std::uint64_t m_sectionTableAt = 0;
    std::uint32_t m_resourceRva = 0;
};

struct ResourceEntry {
    std::uint32_t name = 0;    // an id, or (high bit set) the offset of a name string
    std::uint32_t target = 0;  // (high bit set) a subdirectory, else a data entry
    bool IsNamed() const { return (name & kHighBit) != 0; }
    bool IsDirectory() const { return (target & kHighBit) != 0; }
    std::uint32_t Offset() const { return target & ~kHighBit; }
};

// The resource directory: a three-level tree (type, name, language) whose offsets are
// relative to its start. The tree has fixed depth, so a hostile file cannot make the
// walk loop; each level reads at most the 65535 + 65535 entries its header can declare.
class ResourceTree {
public:
    ResourceTree(const ImageSource& source, FileRange range) : m_source(source), m_range(range) {}

    // The entry of the directory at dirAt that matches; named entries never match an id.
    template <typename Match>
    std::optional<ResourceEntry> Find(std::uint32_t dirAt, Match match) const
    {
        unsigned char header[16];
        if (!ReadIn(m_source, m_range, dirAt, header, sizeof header)) return std::nullopt;
        const std::uint32_t count = std::uint32_t{U16(header + 12)} + U16(header + 14);
        for (std::uint32_t i = 0; i < count; ++i) {
            unsigned char raw[8];
            if (!ReadIn(m_source, m_range, std::uint64_t{dirAt} + 16 + 8 * std::uint64_t{i}, raw, sizeof raw))
                return std::nullopt;
            ResourceEntry entry{U32(raw), U32(raw + 4)};
            if (match(entry)) return entry;
        }
        return std::nullopt;
    }

    // The RVA and size of the data entry at dataAt.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> Data(std::uint32_t dataAt) const
    {
        unsigned char raw[16];
        if (!ReadIn(m_source, m_range, dataAt, raw, sizeof raw)) return std::nullopt;
        return std::make_pair(U32(raw), U32(raw + 4));
    }

private:
    const ImageSource& m_source;
    FileRange m_range;
};

// Finds the first language of the first version resource and reads its bytes.
std::optional<std::string> ReadVersionResource(const ImageSource& source)
{
    PeImage image(source);
    if (!image.ReadHeaders()) return std::nullopt;
    const std::optional<FileRange> root = image.Map(image.ResourceRva());
    if (!root) return std::nullopt;
    ResourceTree tree(source, *root);

    const auto first = [](const ResourceEntry&) { return true; };
    const auto type = tree.Find(0, [](const ResourceEntry& e) { return !e.IsNamed() && e.name == kRtVersion; });
    if (!type || !type->IsDirectory()) return std::nullopt;
    const auto name = tree.Find(type->Offset(), first);
    if (!name || !name->IsDirectory()) return std::nullopt;
    const auto language = tree.Find(name->Offset(), first);
    if (!language || language->IsDirectory()) return std::nullopt;
    const auto data = tree.Data(language->Offset());
    if (!data) return std::nullopt;

    const std::optional<FileRange> bytes = image.Map(data->first);
    if (!bytes) return std::nullopt;
    // Take what the file holds, up to the declared size: a cut-off resource still gives
    // whatever complete parts it has.
    const std::size_t length = static_cast<std::size_t>(
        std::min<std::uint64_t>({data->second, bytes->length, kMaxVersionResource}));
    std::string resource(length, '\0');
    if (!source.Read(bytes->offset, resource.data(), length)) return std::nullopt;
    return resource;
}

// Blocks of a version resource start on 32-bit boundaries counted from the start of the
// resource (where Windows places its copy of it), not from the start of the file.
std::size_t Align4(std::size_t at)
{
    return (at + 3) & ~std::size_t{3};
}

// One block of the version resource: wLength, wValueLength, wType, a UTF-16 key, then
// the value and the child blocks, each on a 32-bit boundary.
struct Block {
    std::size_t start = 0;
    std::size_t end = 0;     // start + wLength, cut to the enclosing block
    std::size_t length = 0;  // wLength as declared: where the next sibling starts
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;  // 1: text (wValueLength counts 16-bit characters), 0: binary (bytes)
    std::size_t keyAt = 0;
    std::size_t keyChars = 0;
    std::size_t valueAt = 0;

    // Whether the value, measured in bytes, lies wholly inside the block.
    bool ValueFits(std::size_t bytes) const { return valueAt <= end && bytes <= end - valueAt; }
};

std::optional<Block> ReadBlock(std::string_view resource, std::size_t start, std::size_t limit)
{
    if (start > limit || limit - start < 6) return std::nullopt;
    Block block;
    block.start = start;
    block.length = U16(resource, start);
    if (block.length < 6) return std::nullopt;
    block.end = start + std::min(block.length, limit - start);
    block.valueLength = U16(resource, start + 2);
    block.type = U16(resource, start + 4);
    block.keyAt = start + 6;
    std::size_t at = block.keyAt;
    while (true) {
        if (block.end - at < 2) return std::nullopt;  // the key has no terminator
        if (U16(resource, at) == 0) break;
        at += 2;
    }
    block.keyChars = (at - block.keyAt) / 2;
    block.valueAt = Align4(at + 2);
    return block;
}

// Keys are compared ignoring the case of ASCII letters, as Windows looks them up.
bool KeyIs(std::string_view resource, const Block& block, std::string_view key)
{
    if (block.keyChars != key.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const std::uint16_t c = U16(resource, block.keyAt + 2 * i);
        const auto lower = [](std::uint32_t x) { return x >= 'A' && x <= 'Z' ? x + ('a' - 'A') : x; };
        if (lower(c) != lower(static_cast<unsigned char>(key[i]))) return false;
    }
    return true;
}

std::size_t ValueBytes(const Block& block)
{
    return block.type == 1 ? std::size_t{block.valueLength} * 2 : block.valueLength;
}

// Calls visit for each child of the block until it returns true. Every child is at least
// six bytes long, so the walk ends after at most a few thousand steps.
template <typename Visit>
bool ForEachChild(std::string_view resource, const Block& parent, std::size_t firstAt, Visit visit)
{
    for (std::size_t at = Align4(firstAt); at < parent.end; ) {
        const std::optional<Block> child = ReadBlock(resource, at, parent.end);
        if (!child) return false;
        if (visit(*child)) return true;
        at = Align4(child->start + child->length);
    }
    return false;
}

FileVersionInfo ParseVersionResource(std::string_view resource)
{
    FileVersionInfo info;
    const std::optional<Block> root = ReadBlock(resource, 0, resource.size());
    if (!root || !KeyIs(resource, *root, "VS_VERSION_INFO")) return info;

    // The root's value is the fixed information, its length always counted in bytes.
    if (root->valueLength >= kFixedFileInfoSize && root->ValueFits(root->valueLength) &&
        U32(resource, root->valueAt) == kFixedFileInfoSignature) {
        info.hasVersion = true;
        info.fileVersionMS = U32(resource, root->valueAt + 8);
        info.fileVersionLS = U32(resource, root->valueAt + 12);
        info.productVersionMS = U32(resource, root->valueAt + 16);
        info.productVersionLS = U32(resource, root->valueAt + 20);
    }

    ForEachChild(resource, *root, root->valueAt + root->valueLength, [&](const Block& child) {
        if (!KeyIs(resource, child, "VarFileInfo")) return false;  // StringFileInfo holds no language we use
        return ForEachChild(resource, child, child.valueAt + ValueBytes(child), [&](const Block& var) {
            // The translation table: (language, code page) pairs of 16 bits each, its
            // length counted in bytes whatever wType claims.
            if (!KeyIs(resource, var, "Translation") || var.valueLength < 4 || !var.ValueFits(var.valueLength))
                return false;
            info.hasLanguage = true;
            info.language = U16(resource, var.valueAt);
            return true;
        });
    });
    return info;
}

FileVersionInfo Parse(const ImageSource& source)
{
    const std::optional<std::string> resource = ReadVersionResource(source);
    return resource ? ParseVersionResource(*resource) : FileVersionInfo{};
}

}  // namespace

FileVersionInfo ParseFileVersion(std::string_view image)
{
    return Parse(MemorySource(image));
}

FileVersionInfo ReadFileVersion(const std::string& path)
{
    // O_NONBLOCK: opening a pipe for reading must not wait for a writer; it is refused
    // below, like every other file that is not a regular file.
    const int fd = OpenForReading(path, O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return {};
    FileVersionInfo info;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0)
        info = Parse(FileSource(fd, static_cast<std::uint64_t>(status.st_size)));
    ::close(fd);
    return info;
}

}  // namespace sw
