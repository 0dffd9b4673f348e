// Solid: filled three- or four-sided 2D solids from picked or typed corners, chained into a band
// (the last two corners of each solid are the first two of the next).
#pragma once

class CSolidCmd {
public:
    // String resources of the prompts.
    static constexpr unsigned kFirstPointPrompt = 501;
    static constexpr unsigned kSecondPointPrompt = 516;
    static constexpr unsigned kThirdPointPrompt = 617;
    static constexpr unsigned kFourthPointPrompt = 618;
    static constexpr unsigned kExitKeyword = 2015;

    // The whole dialogue: first and second corner, then third and fourth corner for each solid
    // until the third corner is not given. Exceptions are reported with showCommandException.
    void Run();
};
