#pragma once

#include <QString>
#include <stdexcept>

// An engine or dataset failure carried up to the handler that started the action.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
