#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

void set_nonblocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

}  // namespace

ProgramResult run_program(const std::vector<std::string>& argv, const std::string& input,
                          const std::map<std::string, std::string>& env,
                          const std::vector<std::string>& unset, const std::string& cwd,
                          int timeout_seconds) {
    ProgramResult result;
    int in_pipe[2], out_pipe[2], err_pipe[2];
    if (::pipe(in_pipe) != 0 || ::pipe(out_pipe) != 0 || ::pipe(err_pipe) != 0) return result;

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in_pipe[0], 0);
        ::dup2(out_pipe[1], 1);
        ::dup2(err_pipe[1], 2);
        for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]})
            ::close(fd);
        for (const auto& name : unset) ::unsetenv(name.c_str());
        for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(126);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(in_pipe[0]);
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    ::signal(SIGPIPE, SIG_IGN);
    set_nonblocking(in_pipe[1]);
    set_nonblocking(out_pipe[0]);
    set_nonblocking(err_pipe[0]);

    size_t written = 0;
    int in_fd = in_pipe[1];
    if (input.empty()) {
        ::close(in_fd);
        in_fd = -1;
    }
    bool out_open = true, err_open = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
    while (out_open || err_open) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            result.timed_out = true;
            ::kill(pid, SIGKILL);
            break;
        }
        pollfd fds[3];
        int n = 0;
        if (out_open) fds[n++] = {out_pipe[0], POLLIN, 0};
        if (err_open) fds[n++] = {err_pipe[0], POLLIN, 0};
        if (in_fd >= 0) fds[n++] = {in_fd, POLLOUT, 0};
        if (::poll(fds, static_cast<nfds_t>(n), static_cast<int>(left)) < 0 && errno != EINTR) break;
        for (int i = 0; i < n; ++i) {
            if (fds[i].revents == 0) continue;
            if (fds[i].fd == in_fd) {
                const ssize_t w = ::write(in_fd, input.data() + written, input.size() - written);
                if (w > 0) written += static_cast<size_t>(w);
                if (w < 0 && errno != EAGAIN) written = input.size();
                if (written == input.size()) {
                    ::close(in_fd);
                    in_fd = -1;
                }
                continue;
            }
            char buffer[65536];
            const ssize_t r = ::read(fds[i].fd, buffer, sizeof buffer);
            std::string& target = fds[i].fd == out_pipe[0] ? result.out : result.err;
            if (r > 0) {
                target.append(buffer, static_cast<size_t>(r));
            } else if (r == 0 || errno != EAGAIN) {
                (fds[i].fd == out_pipe[0] ? out_open : err_open) = false;
            }
        }
    }
    if (in_fd >= 0) ::close(in_fd);
    ::close(out_pipe[0]);
    ::close(err_pipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
