#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

// Reads one line of an uploaded script as one of the statements the notebook's package builder
// writes, built by the same builders the notebook uses, and as nothing else: the exact insert
// of an order, item, customer, message or flex movement with a literal per column (the only
// expression a value may hold is the line break the notebook writes as ||CHR(13)||CHR(10)||),
// and the exact updates of the password, the order status, the read marks and a bonus decision,
// each with its values in their places. Blanks between tokens do not matter; anything else does.
// Whether the values belong to the sender is the caller's to check.
class FormaScript
{
public:
    enum class Tipo { Senha, Pedido, Item, SituacaoPedidos, Cliente, Mensagem, MensagensLidas, Movimento, Autorizacao };

    struct Comando
    {
        Tipo tipo = Tipo::Senha;
        QString tabela;
        // Inserts: the columns that take a value, in their order (CODNOW last where it is sent;
        // not the one fed by the sequence), and the values, nothing for the empty literal.
        QStringList colunas;
        QList<std::optional<QString>> valores;
        // Inserts numbered by a company sequence: that company's code as written.
        QString empresaSequencia;
        // Updates: the values found in the statement's places, by column.
        QStringList camposAtualizacao;
        QStringList valoresAtualizacao;
        // The read marks: the message numbers of the IN list.
        QStringList codigos;

        // The value of a column of an insert or of an update's place; nothing when empty or absent.
        std::optional<QString> valor(const QString &coluna) const;
    };

    class Erro : public std::runtime_error
    {
    public:
        explicit Erro(const QString &mensagem)
            : std::runtime_error(mensagem.toStdString()), m_mensagem(mensagem) {}
        const QString &mensagem() const { return m_mensagem; }

    private:
        QString m_mensagem;
    };

    // Throws Erro with the reason when the line is not one of the shapes.
    static Comando le(const QString &linha);
};
