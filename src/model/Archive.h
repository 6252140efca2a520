#pragma once
// The byte stream of a settings file: little-endian integers, counted strings and
// element counts, either appended to a buffer (storing) or read from one (loading).
// Reading is bounded: a length or count that the remaining bytes cannot hold is
// refused before anything is allocated.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The stream is cut short or its content makes no sense. what() is the text the user sees.
class CArchiveException : public std::runtime_error {
public:
    enum Cause { endOfFile, badFormat };
    explicit CArchiveException(Cause cause);
    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

class CArchive {
public:
    CArchive();                                   // storing into an empty buffer
    explicit CArchive(std::string_view loadFrom); // loading from these bytes

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }

    // Storing.
    void WriteInt(std::int32_t value);
    void WriteCount(std::size_t count);
    void WriteString(std::string_view text);
    void WriteStringArray(const std::vector<std::string>& strings);
    void WriteBytes(const void* data, std::size_t size);
    const std::string& StoredBytes() const { return m_buffer; }

    // Loading.
    std::int32_t ReadInt();
    // minElementSize: the fewest bytes one element can take; counts that cannot fit are refused.
    std::size_t ReadCount(std::size_t minElementSize);
    std::string ReadString();
    std::vector<std::string> ReadStringArray();
    void ReadBytes(void* data, std::size_t size);
    std::size_t Remaining() const { return m_load.size() - m_nPos; }

private:
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::uint32_t ReadDword();
    void Need(std::size_t bytes) const;
    std::size_t ReadLengthAfterMarker(std::uint16_t word);

    bool m_bStoring;
    std::string m_buffer;
    std::string_view m_load;
    std::size_t m_nPos = 0;
};

// UTF-16LE code units to the project's byte form (UTF-8); lone surrogates become U+FFFD.
std::string WideToNarrow(const std::u16string& wide);

}  // namespace sw
