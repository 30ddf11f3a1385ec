// SPDX-License-Identifier: MIT
#pragma once

#include "cli/drivers/program.h"

#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace vantoril::cli::testing {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// RunProgram in this process, standard input, output and errors in memory files.
inline Outcome RunWith(const std::vector<std::string>& args, std::string_view input = {})
{
    auto memoryFile = [](const char* name, std::string_view text) {
        const int fd = memfd_create(name, 0);
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::lseek(fd, 0, SEEK_SET);
        return fd;
    };
    auto readBack = [](int fd) {
        std::string text;
        ::lseek(fd, 0, SEEK_SET);
        char buf[65536];
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
        ::close(fd);
        return text;
    };
    const int in = memoryFile("in", input);
    const int out = memoryFile("out", {});
    const int err = memoryFile("err", {});
    const std::vector<std::string_view> views(args.begin(), args.end());
    Outcome run;
    run.status = RunProgram(views, in, out, err);
    ::close(in);
    run.out = readBack(out);
    run.err = readBack(err);
    return run;
}

// The lines of a text, the last one without its newline.
inline std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

} // namespace vantoril::cli::testing
