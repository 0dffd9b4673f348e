// forkpty for the terminal, pipes otherwise; the output is read with poll() until what a test
// waits for shows, and kept with the terminal's control sequences taken out.
#include "Session.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace {

// Control sequences (ESC [ ... final byte, or ESC and one character), carriage returns and bells
// are how the line editor draws; the tests look at the text.
std::string plainText(std::string_view raw)
{
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\x1b' && i + 1 < raw.size()) {
            if (raw[i + 1] == '[') {
                i += 2;
                while (i < raw.size() && !(raw[i] >= '@' && raw[i] <= '~'))
                    ++i;
            } else {
                ++i;
            }
            continue;
        }
        if (c != '\r' && c != '\a')
            out += c;
    }
    return out;
}

[[noreturn]] void execute(const std::vector<std::string>& command, const std::string& folder)
{
    if (::chdir(folder.c_str()) != 0)
        ::_exit(126);
    ::setenv("TERM", "xterm", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::unsetenv("VANTREL_MODULE_PATH");
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

} // namespace

Session::Session(Input input, const std::vector<std::string>& command, const std::string& folder)
{
    if (input == Input::Terminal) {
        winsize size{24, 100, 0, 0};
        m_pid = ::forkpty(&m_out, nullptr, nullptr, &size);
        if (m_pid == 0)
            execute(command, folder);
        m_in = m_out;
    } else {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipes");
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(out[1], STDERR_FILENO);
            execute(command, folder);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
    }
    if (m_pid < 0)
        throw std::runtime_error("cannot start the program");
}

Session::~Session()
{
    if (m_status == -1 && m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (m_in >= 0 && m_in != m_out)
        ::close(m_in);
    if (m_out >= 0)
        ::close(m_out);
}

bool Session::readSome(std::chrono::steady_clock::time_point until)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return false;
    pollfd fd{m_out, POLLIN, 0};
    int ready = ::poll(&fd, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR)
        return true;
    if (ready <= 0)
        return false;
    char buffer[4096];
    ssize_t n = ::read(m_out, buffer, sizeof buffer);
    if (n <= 0)
        return false; // the program ended (a terminal answers EIO then)
    m_raw.append(buffer, static_cast<std::size_t>(n));
    m_text = plainText(m_raw);
    return true;
}

bool Session::waitFor(std::string_view text)
{
    const auto until = std::chrono::steady_clock::now() + kPatience;
    for (;;) {
        std::size_t at = m_text.find(text, m_seen);
        if (at != std::string::npos) {
            m_seen = at + text.size();
            return true;
        }
        if (!readSome(until))
            return false;
    }
}

void Session::type(std::string_view keys)
{
    while (!keys.empty()) {
        ssize_t n = ::write(m_in, keys.data(), keys.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        keys.remove_prefix(static_cast<std::size_t>(n));
    }
}

void Session::closeInput()
{
    if (m_in >= 0 && m_in != m_out) {
        ::close(m_in);
        m_in = -1;
    }
}

void Session::signal(int signal) { ::kill(m_pid, signal); }

int Session::finish()
{
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (readSome(until)) {}
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_status = status;
            return status;
        }
        if (std::chrono::steady_clock::now() >= until) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            m_status = status;
            return -1;
        }
        ::usleep(20000);
    }
}
