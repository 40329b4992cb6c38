#include "readers/ReportLineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace kov {

namespace {
constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kDecimalCommaColumn = 57;
}  // namespace

ReportLineReader::ReportLineReader(ProgressFn progress) : progress_(std::move(progress)) {}

ReportLineReader::~ReportLineReader() { Close(); }

void ReportLineReader::Open(const std::string& path) {
    Close();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw std::runtime_error("cannot open '" + path + "': it is a folder, not a report file");
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr)
        throw std::runtime_error("cannot open '" + path + "': " + std::strerror(errno));
    const auto size = std::filesystem::file_size(path, ec);
    readFileSize_ = ec ? 0 : static_cast<std::int64_t>(size);
    readByteCount_ = 0;
    percent_ = -1;
    buffer_.resize(kChunk);
    bufferStart_ = bufferEnd_ = 0;
    eof_ = false;
}

void ReportLineReader::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    eof_ = true;
    bufferStart_ = bufferEnd_ = 0;
}

bool ReportLineReader::FillBuffer() {
    if (file_ == nullptr || eof_) return false;
    if (bufferStart_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + bufferStart_, bufferEnd_ - bufferStart_);
        bufferEnd_ -= bufferStart_;
        bufferStart_ = 0;
    }
    if (bufferEnd_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a very long line
    const std::size_t got = std::fread(buffer_.data() + bufferEnd_, 1, buffer_.size() - bufferEnd_, file_);
    if (got == 0) {
        if (std::ferror(file_)) throw std::runtime_error(std::string("the file could not be read: ") + std::strerror(errno));
        eof_ = true;
        return false;
    }
    bufferEnd_ += got;
    return true;
}

bool ReportLineReader::AtEnd() {
    if (bufferStart_ < bufferEnd_) return false;
    return !FillBuffer();
}

std::string_view ReportLineReader::ReadReportLine() {
    if (AtEnd()) throw EndOfReport();
    std::size_t scanFrom = bufferStart_;
    const char* newline = nullptr;
    for (;;) {
        newline = static_cast<const char*>(std::memchr(buffer_.data() + scanFrom, '\n', bufferEnd_ - scanFrom));
        if (newline != nullptr) break;
        const std::size_t scanned = bufferEnd_ - bufferStart_;
        if (!FillBuffer()) break;  // last line without a line end
        scanFrom = bufferStart_ + scanned;
    }
    const std::size_t lineEnd = newline ? static_cast<std::size_t>(newline - buffer_.data()) : bufferEnd_;
    std::size_t textEnd = lineEnd;
    if (textEnd > bufferStart_ && buffer_[textEnd - 1] == '\r') --textEnd;
    line_.assign(buffer_.data() + bufferStart_, textEnd - bufferStart_);
    bufferStart_ = newline ? lineEnd + 1 : bufferEnd_;

    readByteCount_ += static_cast<std::int64_t>(line_.size()) + 2;
    ReportProgress();
    ++readLineNumber_;
    if (DecimalComma && line_.size() > kDecimalCommaColumn)
        std::replace(line_.begin() + kDecimalCommaColumn, line_.end(), '.', ',');
    return line_;
}

void ReportLineReader::ReportProgress() {
    if (readFileSize_ <= 0) return;
    const int percent = static_cast<int>(std::min<std::int64_t>(100, readByteCount_ * 100 / readFileSize_));
    if (percent == percent_) return;
    percent_ = percent;
    if (progress_) progress_(percent);
}

}  // namespace kov
