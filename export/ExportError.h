#pragma once

#include <QString>

#include <stdexcept>

// An export step that failed; the message is shown to the user as it stands.
class ExportError : public std::runtime_error
{
public:
    explicit ExportError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
