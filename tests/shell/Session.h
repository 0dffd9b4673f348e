// A `vantrel` process driven as a user would: at a pseudo-terminal (the real line editor, keys
// typed, signals sent) or with a pipe as its standard input. Waits are for output, never for a
// fixed time, and are generous, so that a loaded machine only makes the tests slower.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

class Session {
public:
    enum class Input { Terminal, Pipe };
    static constexpr std::chrono::seconds kPatience{90};

    // Runs program with args in folder; standard output and error go to the terminal (or, with
    // a pipe, are collected the same way).
    Session(Input input, const std::vector<std::string>& command, const std::string& folder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Waits until text appears in the output after what the last wait found, and moves past it.
    // False (and the output so far in the test's message) when it does not appear in time.
    bool waitFor(std::string_view text);
    void type(std::string_view keys);
    // Pipe only: no more input.
    void closeInput();
    void signal(int signal);
    // Waits for the end of the process (reading what it still prints); its wait status.
    int finish();

    // Everything printed so far, with the terminal's control sequences and carriage returns left
    // out.
    std::string output() const { return m_text; }

private:
    bool readSome(std::chrono::steady_clock::time_point until);

    pid_t m_pid = -1;
    int m_out = -1; // the terminal's master side, or the read end of the output pipe
    int m_in = -1;  // where typed keys go (the master again, or the write end of the input pipe)
    std::string m_raw;
    std::string m_text;
    std::size_t m_seen = 0;
    int m_status = -1;
};
