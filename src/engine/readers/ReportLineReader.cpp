#include "readers/ReportLineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "readers/LineBreaks.h"
#include "readers/ReportFile.h"

namespace kov {

namespace {
constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kDecimalCommaColumn = 57;
}  // namespace

ReportLineReader::ReportLineReader(ProgressFn progress) : progress_(std::move(progress)) {}

ReportLineReader::~ReportLineReader() {
    Close();
}

void ReportLineReader::Open(const std::string& path) {
    Close();
    const OpenedReportFile opened = OpenReportFile(path);
    file_ = opened.File;
    readFileSize_ = opened.Size;
    RestartProgress();
    if (buffer_.Size == 0) buffer_.Make(kChunk);
    bufferStart_ = bufferEnd_ = 0;
    bufferOffset_ = 0;
    bufferChanged_ = false;
    eof_ = false;
}

void ReportLineReader::Rewind() {
    if (file_ == nullptr) return;
    if (bufferOffset_ != 0 || bufferChanged_) {
        if (std::fseek(file_, 0, SEEK_SET) != 0)
            throw std::runtime_error(std::string("the file could not be read again: ") + std::strerror(errno));
        bufferEnd_ = 0;
        bufferOffset_ = 0;
        bufferChanged_ = false;
        eof_ = false;
    }
    bufferStart_ = 0;
    RestartProgress();
    ResetReadCounters();
}

void ReportLineReader::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    eof_ = true;
    bufferStart_ = bufferEnd_ = 0;
}

void ReportLineReader::Buffer::Make(std::size_t size) {
    Bytes = std::make_unique_for_overwrite<char[]>(size);
    Size = size;
}

bool ReportLineReader::FillBuffer() {
    if (file_ == nullptr || eof_) return false;
    const std::size_t rest = bufferEnd_ - bufferStart_;
    const std::size_t size = rest == buffer_.Size ? 2 * buffer_.Size : buffer_.Size;  // a very long line
    if (spare_.Size < size) spare_.Make(size);
    std::memcpy(spare_.Bytes.get(), buffer_.Bytes.get() + bufferStart_, rest);
    std::swap(buffer_, spare_);
    bufferOffset_ += static_cast<std::int64_t>(bufferStart_);
    bufferStart_ = 0;
    bufferEnd_ = rest;
    const std::size_t got = std::fread(buffer_.Bytes.get() + bufferEnd_, 1, buffer_.Size - bufferEnd_, file_);
    if (got == 0) {
        if (std::ferror(file_))
            throw std::runtime_error(std::string("the file could not be read: ") + std::strerror(errno));
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

// Where the line at bufferStart_ ends: the end of its text and the start of
// the next line. A line ends at LF, CR LF, a CR alone (old Mac line ends) or
// the end of the file; more of the file is read as needed, up to the longest
// line allowed.
ReportLineReader::LineEnd ReportLineReader::FindLineEnd() {
    std::size_t scanFrom = bufferStart_;
    for (;;) {
        const char* data = buffer_.Bytes.get();
        const std::size_t textEnd = static_cast<std::size_t>(FindLineBreak(data + scanFrom, data + bufferEnd_) - data);
        if (textEnd - bufferStart_ > MaxLineLength) throw OverlongLine(readLineNumber_ + 1);
        const bool found = textEnd < bufferEnd_;
        const bool cr = found && data[textEnd] == '\r';
        // A CR that is the last byte read may be the first half of a CR LF.
        const bool crAtBufferEnd = cr && textEnd + 1 == bufferEnd_;
        if (found && !crAtBufferEnd) return {textEnd, textEnd + (cr && data[textEnd + 1] == '\n' ? 2u : 1u)};
        const std::size_t scanned = textEnd - bufferStart_;
        if (!FillBuffer()) return {bufferStart_ + scanned, bufferEnd_};  // the last line
        scanFrom = bufferStart_ + scanned;
    }
}

std::string_view ReportLineReader::ReadReportLine() {
    if (AtEnd()) throw EndOfReport();
    const LineEnd end = FindLineEnd();
    char* const text = buffer_.Bytes.get() + bufferStart_;
    const std::size_t length = end.TextEnd - bufferStart_;
    bufferStart_ = end.NextLine;

    readByteCount_ += static_cast<std::int64_t>(length) + 2;
    ReportProgress();
    ++readLineNumber_;
    if (DecimalComma && length > kDecimalCommaColumn) {
        std::replace(text + kDecimalCommaColumn, text + length, '.', ',');
        bufferChanged_ = true;
    }
    return {text, length};
}

// From the file's first byte: no percent told yet, the next due at once.
void ReportLineReader::RestartProgress() {
    readByteCount_ = 0;
    percent_ = -1;
    nextPercentAt_ = 0;
}

void ReportLineReader::ReportProgress() {
    // Asked after every line: most lines leave the percent where it was,
    // which the byte count alone tells without a division.
    if (readByteCount_ < nextPercentAt_ || readFileSize_ <= 0) return;
    const int percent = static_cast<int>(std::min<std::int64_t>(100, readByteCount_ * 100 / readFileSize_));
    nextPercentAt_ =
        percent >= 100 ? std::numeric_limits<std::int64_t>::max() : ((percent + 1) * readFileSize_ + 99) / 100;
    if (percent == percent_) return;
    percent_ = percent;
    if (progress_ && ShowsProgress) progress_(percent);
}

}  // namespace kov
