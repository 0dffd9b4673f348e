// The command line of a document as commands see it: requests for points, keywords, numbers,
// angles and distances answered with an InputResult, and messages. Each request runs on the
// input engine; this class says what a typed line or a picked point means to it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include <vantrel/db/OdString.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/InputResult.h>
#include <vantrel/host/MessageArg.h>
#include <vantrel/host/HostExport.h>

class HostEdInputTracker;

class VANTREL_HOST_EXPORT HostEditor {
public:
    explicit HostEditor(vantrel::InputEngine& engine) : m_engine(engine) {}

    // A point, typed (`X,Y[,Z]`, `@DX,DY[,DZ]`, `@DIST<ANGLE`, read in the engine's UCS) or picked
    // (on the UCS XY plane); answered in world coordinates. Relative input starts from the base
    // point, or from the last point when there is none; both are world points.
    InputResult getPoint(const OdGePoint3d* basePoint, OdGePoint3d& point, const wchar_t* prompt,
                         const wchar_t* keywords = nullptr, InputFlags flags = 0, OdString* text = nullptr,
                         HostEdInputTracker* tracker = nullptr);
    // A keyword of the list; free text (kInputText, the text in `text`) with kAcceptText.
    InputResult getKeyword(const wchar_t* prompt, const wchar_t* keywords, InputFlags flags = 0,
                           OdString* text = nullptr, HostEdInputTracker* tracker = nullptr);
    // Degrees typed, or the direction from the base point to a point in the UCS XY plane, from its
    // X axis; answered in radians.
    InputResult getAngle(const OdGePoint3d* basePoint, double& angle, const wchar_t* prompt,
                         const wchar_t* keywords = nullptr, InputFlags flags = 0, OdString* text = nullptr,
                         HostEdInputTracker* tracker = nullptr);
    // A number typed, or the distance from the base point to a point.
    InputResult getDistance(const OdGePoint3d* basePoint, double& distance, const wchar_t* prompt,
                            const wchar_t* keywords = nullptr, InputFlags flags = 0, OdString* text = nullptr,
                            HostEdInputTracker* tracker = nullptr);
    InputResult getReal(double& value, const wchar_t* prompt, const wchar_t* keywords = nullptr, InputFlags flags = 0,
                        OdString* text = nullptr, HostEdInputTracker* tracker = nullptr);
    InputResult getInteger(std::int32_t& value, const wchar_t* prompt, const wchar_t* keywords = nullptr,
                           InputFlags flags = 0, OdString* text = nullptr, HostEdInputTracker* tracker = nullptr);

    // A printf-style format (`%d`, `%f`, `%0.f`, `%s`, ...) filled with type-checked values. Text
    // a user typed belongs in the values, never in the format.
    template <class... Args>
    void printMessage(const wchar_t* format, const Args&... args)
    {
        const std::array<vantrel::MessageArg, sizeof...(Args)> values{vantrel::MessageArg(args)...};
        printFormatted(format, values);
    }

    vantrel::InputEngine& engine() { return m_engine; }

    // The prompt as shown: the keyword list in the first `%s`, leading line breaks dropped, and
    // ": " at the end (the colon only when the prompt has none).
    static std::wstring promptText(const wchar_t* prompt, const wchar_t* keywords);

private:
    void printFormatted(const wchar_t* format, std::span<const vantrel::MessageArg> values);
    // The two-point form of getAngle and getDistance without a base point.
    InputResult secondPoint(const OdGePoint3d& first, OdGePoint3d& second);
    // What getAngle and getDistance differ in: how a typed value reads, what two points measure
    // (nothing when they are the same point for an angle), and the refusals.
    struct Measure {
        std::optional<double> (*parse)(std::wstring_view typed);
        std::optional<double> (*between)(const OdGePoint3d& from, const OdGePoint3d& to);
        const wchar_t* samePoints;
        const wchar_t* refusal;
        const wchar_t* refusalWithKeywords;
    };
    // A value typed, or measured from the base point (or a first point) to a point.
    InputResult getMeasured(const OdGePoint3d* basePoint, double& value, const wchar_t* prompt, const wchar_t* keywords,
                            InputFlags flags, OdString* text, HostEdInputTracker* tracker, const Measure& measure);

    vantrel::InputEngine& m_engine;
};
