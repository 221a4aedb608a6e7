#pragma once

#include <QString>

namespace torvane {

// The test switches of the command line. The argument string is compared with each
// switch in turn and a later match overrides an earlier one, so "-OutputStatus" only
// survives together with the two check switches.
class TestMode {
public:
    enum Switch : qint16 {
        None = 0,
        InhibitErrorCheck = 1,
        InhibitCombCheck = 2,
        ShortUpdateTime = 5,
        InhibitUpdate = 6,
        LowerVersion = 7,
        HigherVersion = 8,
    };

    constexpr TestMode(Switch which = None, bool outputStatus = false)
        : m_switch(which)
        , m_outputStatus(outputStatus &&
                         (which == None || which == InhibitErrorCheck || which == InhibitCombCheck))
    {}
    // The switches of the argument string (the program's own path excluded).
    static TestMode fromArguments(const QString& arguments);

    // The mode as a number: the switch, plus 10 for "-OutputStatus".
    qint16 number() const { return static_cast<qint16>(m_switch + (m_outputStatus ? 10 : 0)); }

    // The tariff check keeps no messages under -InhibitErrorCheck, with or without
    // -OutputStatus; the other checks only without it.
    bool dropsTariffMessages() const { return m_switch == InhibitErrorCheck; }
    bool dropsCheckMessages() const { return m_switch == InhibitErrorCheck && !m_outputStatus; }
    bool skipsCombinationChecks() const { return m_switch == InhibitCombCheck && !m_outputStatus; }
    // Status messages also come in a box under -InhibitErrorCheck or -OutputStatus.
    bool showsStatusInBox() const { return m_switch == InhibitErrorCheck || m_outputStatus; }

    friend bool operator==(const TestMode&, const TestMode&) = default;

private:
    Switch m_switch;
    bool m_outputStatus;
};

inline TestMode TestMode::fromArguments(const QString& arguments)
{
    const auto startsWith = [&](const char* prefix) {
        return arguments.startsWith(QLatin1String(prefix));
    };
    Switch which = None;
    if (startsWith("-InhibitErrorCheck"))
        which = InhibitErrorCheck;
    if (startsWith("-InhibitCombCheck"))
        which = InhibitCombCheck;
    const bool outputStatus = arguments.endsWith(QLatin1String("-OutputStatus"));
    for (auto [prefix, later] : {std::pair{"-ShortUpdateTime", ShortUpdateTime},
                                 {"-InhibitUpdate", InhibitUpdate},
                                 {"-LowerVersion", LowerVersion},
                                 {"-HigherVersion", HigherVersion}}) {
        if (startsWith(prefix))
            return TestMode(later);
    }
    return TestMode(which, outputStatus);
}

} // namespace torvane
