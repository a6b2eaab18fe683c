#pragma once

#include <QString>
#include <QList>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <utility>

// Turns one line of the outbound script, written in the central server's dialect, into a
// Firebird statement: "S.NEXTVAL" becomes "NEXT VALUE FOR S", "DUAL" the one-row
// RDB$DATABASE, "CHR(n)" ASCII_CHAR(n), a lone '' the NULL that dialect makes of it, and a
// day-first 'dd/mm/yyyy' literal headed for a date column the dotted 'dd.mm.yyyy' form
// Firebird reads day first (it reads slashes month first).
class TraducaoScript
{
public:
    enum class TipoColuna { Desconhecido, Texto, Numero, Data, Hora, DataHora };
    enum class TipoComando { Insercao, Atualizacao, Outro };

    // Type of a column of the central database; Desconhecido when the table or column is not
    // known there.
    using TiposColuna = std::function<TipoColuna(const QString &tabela, const QString &coluna)>;

    struct Comando
    {
        TipoComando tipo = TipoComando::Outro;
        QString tabela;      // target of INSERT INTO / UPDATE, upper case
        QString texto;       // the Firebird statement
        QStringList colunas; // INSERT: the target columns, upper case
        int separadores = 0; // ";" outside literals: more than one statement on the line
        // UPDATE: the SET items of the form column = 'literal' (value with its quotes undone);
        // outrasAtribuicoes counts the SET items of any other form.
        QList<std::pair<QString, QString>> atribuicoes;
        int outrasAtribuicoes = 0;
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

    // Without column types every literal that reads as a valid day-first date is taken as one.
    explicit TraducaoScript(TiposColuna tipos = {});

    // Throws Erro for a line that cannot be read (an unterminated literal).
    Comando traduz(const QString &linha) const;

    // 'dd/mm/yyyy' (optionally followed by a time) as 'dd.mm.yyyy'; empty when the text is not
    // a valid day-first date.
    static QString dataFirebird(const QString &valor);

private:
    TipoColuna tipo(const QString &tabela, const QString &coluna) const;

    TiposColuna m_tipos;
};
