// Signal handlers that only record: an async-signal-safe flag per signal and a byte written to a
// pipe, so that a line editor blocked in poll() wakes up. SA_RESTART keeps other reads (a script
// from standard input) from failing half way.
#include "ShellSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_interrupt = 0;
volatile std::sig_atomic_t g_resume = 0;
volatile std::sig_atomic_t g_resize = 0;
int g_wake[2] = {-1, -1};

void wake()
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already wakes the reader; nothing more to do then.
    [[maybe_unused]] ssize_t n = ::write(g_wake[1], &byte, 1);
    errno = saved;
}

void onStop(int signal)
{
    if (g_stop != 0) {
        // The first one is still waiting for the run to reach a safe point: give up on it.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_stop = signal;
    wake();
}

void onTerminalSignal(int signal)
{
    if (signal == SIGINT)
        g_interrupt = 1;
    else if (signal == SIGCONT)
        g_resume = 1;
    else
        g_resize = 1;
    wake();
}

void handle(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

bool take(volatile std::sig_atomic_t& flag)
{
    if (flag == 0)
        return false;
    flag = 0;
    return true;
}

} // namespace

void ShellSignals::install(bool terminalSession)
{
    if (::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        g_wake[0] = g_wake[1] = -1;
    handle(SIGTERM, onStop);
    handle(SIGHUP, onStop);
    if (terminalSession) {
        handle(SIGINT, onTerminalSignal);
        handle(SIGCONT, onTerminalSignal);
        handle(SIGWINCH, onTerminalSignal);
    } else {
        handle(SIGINT, onStop);
    }
}

int ShellSignals::wakeFd() { return g_wake[0]; }

int ShellSignals::stopSignal() { return g_stop; }

bool ShellSignals::takeInterrupt() { return take(g_interrupt); }

bool ShellSignals::takeResume() { return take(g_resume); }

bool ShellSignals::takeResize() { return take(g_resize); }

void ShellSignals::drainWake()
{
    char buffer[64];
    while (::read(g_wake[0], buffer, sizeof buffer) > 0) {}
}

ShellSignals::HoldStops::HoldStops()
{
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaddset(&stops, signal);
    ::sigprocmask(SIG_BLOCK, &stops, &m_before);
}

ShellSignals::HoldStops::~HoldStops() { ::sigprocmask(SIG_SETMASK, &m_before, nullptr); }

void ShellSignals::dieBy(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    // Only reached if the default action does not end the process.
    std::_Exit(128 + signal);
}
