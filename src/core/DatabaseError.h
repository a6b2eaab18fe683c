#pragma once

#include <QString>
#include <stdexcept>

class QSqlError;

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

// The engine's own words for a failure (what the seller reads), falling back to the driver's text
// when the engine said nothing.
QString engineMessage(const QSqlError &error);
