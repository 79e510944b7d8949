#include "text/RecordFile.h"

#include <cstring>

namespace text {

namespace {
constexpr std::size_t kWriteBuffer = 1 << 20;
constexpr std::size_t kReadBuffer = 4 << 20;
} // namespace

RecordFile::~RecordFile() {
    close();
}

bool RecordFile::create(const std::filesystem::path& path, std::size_t recordSize) {
    close();
    m_path = path;
    m_recordSize = recordSize;
    m_records = 0;
    m_failed = false;
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr)
        return false;
    std::setvbuf(m_file, nullptr, _IONBF, 0); // the buffer below is the only one
    m_buffer.clear();
    m_buffer.reserve(kWriteBuffer);
    return true;
}

bool RecordFile::append(std::span<const std::byte> record) {
    if (m_file == nullptr || m_failed || record.size() != m_recordSize)
        return false;
    if (m_buffer.size() + record.size() > kWriteBuffer && !flush())
        return false;
    m_buffer.insert(m_buffer.end(), record.begin(), record.end());
    ++m_records;
    return true;
}

bool RecordFile::appendRecords(std::span<const std::byte> records) {
    if (m_file == nullptr || m_failed || m_recordSize == 0 || records.size() % m_recordSize != 0)
        return false;
    if (m_buffer.size() + records.size() > kWriteBuffer && !flush())
        return false;
    m_buffer.insert(m_buffer.end(), records.begin(), records.end());
    m_records += records.size() / m_recordSize;
    return true;
}

bool RecordFile::flush() {
    if (m_file == nullptr)
        return false;
    if (m_failed)
        return false;
    if (!m_buffer.empty()) {
        const std::size_t written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
        if (written != m_buffer.size()) {
            m_failed = true;
            m_buffer.clear();
            return false;
        }
        m_buffer.clear();
    }
    if (std::fflush(m_file) != 0) {
        m_failed = true;
        return false;
    }
    return true;
}

bool RecordFile::reset() {
    if (m_path.empty())
        return false;
    return create(m_path, m_recordSize);
}

void RecordFile::close() {
    if (m_file == nullptr)
        return;
    flush();
    std::fclose(m_file);
    m_file = nullptr;
}

RecordFileReader::~RecordFileReader() {
    close();
}

bool RecordFileReader::open(const std::filesystem::path& path, std::size_t recordSize) {
    close();
    if (recordSize == 0)
        return false;
    m_file = std::fopen(path.c_str(), "rb");
    if (m_file == nullptr)
        return false;
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    m_recordSize = recordSize;
    m_count = ec ? 0 : size / recordSize;
    m_index = 0;
    const std::size_t records = kReadBuffer / recordSize > 0 ? kReadBuffer / recordSize : 1;
    m_buffer.resize(records * recordSize);
    m_pos = m_end = 0;
    return true;
}

void RecordFileReader::close() {
    if (m_file != nullptr)
        std::fclose(m_file);
    m_file = nullptr;
    m_count = m_index = 0;
    m_pos = m_end = 0;
}

bool RecordFileReader::fill() {
    // Keep a partial record at the front, then read as much as fits.
    const std::size_t rest = m_end - m_pos;
    if (rest > 0)
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, rest);
    m_pos = 0;
    m_end = rest;
    const std::size_t got = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_file);
    m_end += got;
    return m_end >= m_recordSize;
}

std::span<const std::byte> RecordFileReader::next() {
    if (m_file == nullptr || m_index >= m_count)
        return {};
    if (m_end - m_pos < m_recordSize && !fill())
        return {};
    std::span<const std::byte> record(m_buffer.data() + m_pos, m_recordSize);
    m_pos += m_recordSize;
    ++m_index;
    return record;
}

bool RecordFileReader::read(std::span<std::byte> out) {
    const auto record = next();
    if (record.empty() || out.size() < record.size())
        return false;
    std::memcpy(out.data(), record.data(), record.size());
    return true;
}

bool RecordFileReader::seek(std::uint64_t index) {
    if (m_file == nullptr || index > m_count)
        return false;
    const std::uint64_t offset = index * m_recordSize;
    if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0)
        return false;
    m_index = index;
    m_pos = m_end = 0;
    return true;
}

bool RecordFileReader::skip(std::uint64_t records) {
    const std::uint64_t buffered = (m_end - m_pos) / m_recordSize;
    if (records <= buffered) {
        m_pos += static_cast<std::size_t>(records) * m_recordSize;
        m_index += records;
        return true;
    }
    return seek(m_index + records);
}

} // namespace text
