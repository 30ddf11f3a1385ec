// SPDX-License-Identifier: MIT
#include "cli/io/file_text.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantoril::cli {

bool ReadFileText(const std::string& path, std::size_t maxBytes, std::string& text, int& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    text.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            ::close(fd);
            return false;
        }
        if (text.size() + static_cast<std::size_t>(n) > maxBytes) {
            error = EFBIG;
            ::close(fd);
            return false;
        }
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

namespace {

// Closes the file however its reading ends, a throwing caller included.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};

void EmitLine(std::string_view line, const std::function<void(std::string_view)>& to)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    to(line);
}

} // namespace

bool ForEachFileLine(const std::string& path, std::size_t maxBytes, const std::function<void(std::string_view)>& line,
                     int& error)
{
    const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (opened < 0) {
        error = errno;
        return false;
    }
    const FileDescriptor fd(opened);
    struct stat info = {};
    if (::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > maxBytes) {
        error = EFBIG;
        return false;
    }
    std::array<char, 65536> buffer{};
    std::string cut; // a line the buffer's end cut, until its end is read
    std::size_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        total += static_cast<std::size_t>(n);
        if (total > maxBytes) {
            error = EFBIG;
            return false;
        }
        std::string_view chunk(buffer.data(), static_cast<std::size_t>(n));
        for (std::size_t end = chunk.find('\n'); end != std::string_view::npos; end = chunk.find('\n')) {
            if (cut.empty()) {
                EmitLine(chunk.substr(0, end), line);
            } else {
                cut.append(chunk.substr(0, end));
                EmitLine(cut, line);
                cut.clear();
            }
            chunk.remove_prefix(end + 1);
        }
        cut.append(chunk);
    }
    if (!cut.empty()) EmitLine(cut, line);
    return true;
}

} // namespace vantoril::cli
