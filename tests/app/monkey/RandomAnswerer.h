#pragma once

#include "Mensagem.h"

#include <QList>
#include <QString>

#include <functional>
#include <random>

// Answers every message box of a random-input run at random (Yes or No; OK boxes with OK) and
// keeps the ones that show the seller an engine or programming error instead of the program's
// own message, with the event that led to them.
class RandomAnswerer : public MessagePresenter
{
public:
    struct Finding
    {
        QString context; // the event that was running
        QString text;
    };

    RandomAnswerer(quint64 seed, std::function<QString()> context)
        : m_random(seed)
        , m_context(std::move(context))
    {}

    RespostaMensagem present(const QString &text, TipoMensagem, CorMensagem, BotoesMensagem buttons) override
    {
        ++shown;
        if (isEngineText(text))
            findings.append({m_context(), text});
        if (buttons == BotoesMensagem::Ok)
            return RespostaMensagem::Ok;
        return (m_random() & 1) ? RespostaMensagem::Sim : RespostaMensagem::Nao;
    }

    // Texts that only the database engine, the driver or the data layer's own faults produce.
    static bool isEngineText(const QString &text)
    {
        static const char *const marks[] = {
            "sql error", "dynamic sql", "arithmetic exception", "numeric overflow", "string truncation",
            "string right truncation", "conversion error", "token unknown", "violation of", "lock conflict",
            "deadlock", "unable to", "could not", "column unknown", "table unknown", "validation error",
            "isc_", "sqlcode", "expression evaluation", "overflow occurred", "malformed string",
            "invalid token", "cannot transliterate", "attempt to store duplicate", "integer overflow",
            "std::", "bad_alloc", "basic_string", "não é um valor válido para o campo",
            "não encontrado no comando", "o conjunto de dados não tem",
        };
        const QString lower = text.toLower();
        for (const char *mark : marks)
            if (lower.contains(QString::fromUtf8(mark)))
                return true;
        return false;
    }

    QList<Finding> findings;
    int shown = 0;

private:
    std::mt19937_64 m_random;
    std::function<QString()> m_context;
};
