#pragma once

#include <QString>

#include <exception>

namespace torvane {

// The one kind of unexpected failure: procedures with an error title trap it and
// hand it to the fatal-error report; nothing else recovers from it.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString description)
        : m_number(number)
        , m_description(std::move(description))
        , m_what(m_description.toUtf8())
    {}

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

    // The error numbers the program raises, with the descriptions it gives them.
    static RuntimeError overflow() { return {6, QStringLiteral("Overflow")}; }
    static RuntimeError divisionByZero() { return {11, QStringLiteral("Division by zero")}; }
    static RuntimeError typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace torvane
