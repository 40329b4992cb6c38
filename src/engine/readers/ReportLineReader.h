#pragma once
// The one way every report line is read: line ends (CR LF, a bare LF or a
// bare CR) removed, lines longer than MaxLineLength refused, progress counted
// as the collection tool's byte count (line + 2), and in a non-USA
// environment every "." after column 57 turned into ",".

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kov {

// Percent of the file read so far, 0..100; called only when it changes, so a
// window can update its progress bar and process events without doing so
// once per line.
using ProgressFn = std::function<void(int percent)>;

class ReportLineReader {
public:
    // No line of a report comes near this; a longer one ends the read, so a
    // file without line ends cannot fill the memory.
    static constexpr std::size_t MaxLineLength = 65536;

    explicit ReportLineReader(ProgressFn progress = {});
    ~ReportLineReader();
    ReportLineReader(const ReportLineReader&) = delete;
    ReportLineReader& operator=(const ReportLineReader&) = delete;

    // Opens a report file; throws std::runtime_error naming the file and the
    // reason when it cannot be opened or is no regular file (OpenReportFile).
    // Counters and progress start at 0.
    void Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    // Back to the first line of the open file, counters and progress at 0:
    // taken from the buffer when it still holds the file's start as read
    // (identifying a report reads no further), else read from the file again.
    void Rewind();

    // True once the last line has been read (nothing but the end is left).
    bool AtEnd();

    // The next line. Reading past the end throws EndOfReport, a line longer
    // than MaxLineLength throws OverlongLine. The text stays valid until the
    // next line is read, AtEnd in between included.
    std::string_view ReadReportLine();

    void ResetReadCounters() {
        readLineNumber_ = 0;
        readFieldNumber_ = 0;
    }

    bool DecimalComma = false;
    // Whether the percent is passed on: identifying a report reads its first
    // lines before the read proper and must not move a progress bar.
    bool ShowsProgress = true;

    std::int64_t ReadFileSize() const { return readFileSize_; }
    std::int64_t ReadByteCount() const { return readByteCount_; }
    int ReadLineNumber() const { return readLineNumber_; }
    int& ReadFieldNumber() { return readFieldNumber_; }
    int Percent() const { return percent_; }

private:
    struct LineEnd {
        std::size_t TextEnd;   // the line's text ends here
        std::size_t NextLine;  // and the next line starts here
    };
    LineEnd FindLineEnd();
    bool FillBuffer();
    void RestartProgress();
    void ReportProgress();

    // Bytes read from the file; not cleared, since every byte used is read
    // into it first.
    struct Buffer {
        std::unique_ptr<char[]> Bytes;
        std::size_t Size = 0;
        void Make(std::size_t size);
    };

    ProgressFn progress_;
    std::FILE* file_ = nullptr;
    // Lines are handed out in place. A refill moves the unread rest into the
    // spare buffer and reads on there, so the line handed out last stays put.
    Buffer buffer_;
    Buffer spare_;
    std::size_t bufferStart_ = 0;
    std::size_t bufferEnd_ = 0;
    std::int64_t bufferOffset_ = 0;  // where in the file the buffer starts
    bool bufferChanged_ = false;     // a decimal comma was put in place
    bool eof_ = false;
    std::int64_t readFileSize_ = 0;
    std::int64_t readByteCount_ = 0;
    int readLineNumber_ = 0;
    int readFieldNumber_ = 0;
    int percent_ = -1;
    std::int64_t nextPercentAt_ = 0;  // the byte count at which the percent next moves
};

// A report's progress bar appears once its opening lines are read (a
// statistics report's header, a simulation's pool line): a file refused on
// its first lines shows its message with no bar behind it. Held back until
// Release() or the end of the scope, then shown as it was before.
class ProgressHeldBack {
public:
    explicit ProgressHeldBack(ReportLineReader& lines)
        : lines_(lines), showedProgress_(std::exchange(lines.ShowsProgress, false)) {}
    ~ProgressHeldBack() { Release(); }
    void Release() { lines_.ShowsProgress = showedProgress_; }
    ProgressHeldBack(const ProgressHeldBack&) = delete;
    ProgressHeldBack& operator=(const ProgressHeldBack&) = delete;

private:
    ReportLineReader& lines_;
    bool showedProgress_;
};

// Reading beyond the last line of a report: the file ended before a line the
// layout requires.
class EndOfReport : public std::exception {
public:
    const char* what() const noexcept override { return "the file ended before this line was reached"; }
};

// A line longer than MaxLineLength: the file is no report, and its reading
// stops at that line.
class OverlongLine : public std::runtime_error {
public:
    explicit OverlongLine(int lineNumber)
        : std::runtime_error("the line is longer than " + std::to_string(ReportLineReader::MaxLineLength) +
                             " characters"),
          LineNumber(lineNumber) {}
    int LineNumber;
};

}  // namespace kov
