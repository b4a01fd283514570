// A test body run in a child process, which may become another user or mount
// what it likes without touching the test's own process.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace velmar::test {

// Runs `body` in a child process and returns what it gave back; a body that
// cannot set itself up says "skip: why".
inline std::string InChild(const std::function<std::string()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "skip: no pipe";
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return "skip: no child process";
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        const std::string out = body();
        (void)!::write(pipeFds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    return out;
}

// `body` run in a child as the user nobody, whom root's files and folders
// refuse what they refuse every other user.
inline std::string AsNobody(const std::function<std::string()>& body) {
    return InChild([&] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            return std::string("skip: the user nobody cannot be taken on");
        return body();
    });
}

// In a test: skips it when the child could not set itself up.
#define SKIP_IF_CHILD_SAID(ending) \
    if ((ending).starts_with("skip: ")) GTEST_SKIP() << (ending).substr(6)

}  // namespace velmar::test
