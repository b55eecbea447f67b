#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The error classes of the program's core. Each carries only its message,
// which is what the user is shown when the error reaches a handler's guard.
class Exception : public std::exception {
public:
    explicit Exception(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

#define LUMAPROG_DECLARE_ERROR(Name)                                          \
    class Name : public Exception {                                           \
    public:                                                                   \
        using Exception::Exception;                                           \
    };

LUMAPROG_DECLARE_ERROR(EDllError)          // language library missing or incomplete
LUMAPROG_DECLARE_ERROR(EConvertError)      // "No Hex-Number"
LUMAPROG_DECLARE_ERROR(EListError)         // list index out of range, image too large
LUMAPROG_DECLARE_ERROR(EFOpenError)        // a file that cannot be opened
LUMAPROG_DECLARE_ERROR(EFCreateError)      // a file that cannot be created
LUMAPROG_DECLARE_ERROR(EReadError)         // component stream read errors
LUMAPROG_DECLARE_ERROR(EAssertionFailed)   // a failed internal assertion
LUMAPROG_DECLARE_ERROR(EIniFileException)  // a settings file that cannot be written

#undef LUMAPROG_DECLARE_ERROR
