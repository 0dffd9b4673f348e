// The signals the shell answers instead of dying on them: SIGTERM and SIGHUP (and Ctrl-C's
// SIGINT when no terminal session runs) stop the run so that a recovery copy can be written;
// at a terminal SIGINT cancels the open prompt, SIGCONT and SIGWINCH redraw it. Handlers only
// set flags and wake a pipe that the line editor waits on; the work happens in the main flow.
#pragma once

#include <csignal>

class ShellSignals {
public:
    // Installs the handlers; with a terminal session SIGINT is Ctrl-C at a prompt, otherwise it
    // stops the run like SIGTERM. A second stop signal while the first is pending kills at once.
    static void install(bool terminalSession);

    // Readable while a signal is waiting to be taken.
    static int wakeFd();
    // The stop signal that arrived (SIGTERM, SIGHUP, SIGINT), 0 while there is none.
    static int stopSignal();
    // Each answers whether its signal arrived since it was last asked, and forgets it.
    static bool takeInterrupt();
    static bool takeResume();
    static bool takeResize();
    // Empties the wake pipe; the flags keep what arrived.
    static void drainWake();

    // Ends the process by the signal, with its default action, as if it had not been caught.
    [[noreturn]] static void dieBy(int signal);

    // While one lives, stop signals wait: a recovery copy being written is finished first.
    class HoldStops {
    public:
        HoldStops();
        ~HoldStops();
        HoldStops(const HoldStops&) = delete;
        HoldStops& operator=(const HoldStops&) = delete;

    private:
        sigset_t m_before;
    };
};
