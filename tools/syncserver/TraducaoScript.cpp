#include "TraducaoScript.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <optional>
#include <vector>

namespace {

enum class Tipo { Literal, Identificador, Numero, Simbolo };

struct Token
{
    Tipo tipo;
    qsizetype inicio;
    qsizetype fim;   // one past the last character
    QString texto;   // identifiers upper case (quoted ones as written); a literal's value, quotes undone
};

bool inicioIdentificador(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool parteIdentificador(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

std::vector<Token> tokens(const QString &linha)
{
    std::vector<Token> lista;
    const qsizetype n = linha.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = linha.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype inicio = i;
        if (c == u'\'') {
            QString valor;
            ++i;
            bool fechado = false;
            while (i < n) {
                if (linha.at(i) == u'\'') {
                    if (i + 1 < n && linha.at(i + 1) == u'\'') {
                        valor += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    fechado = true;
                    break;
                }
                valor += linha.at(i++);
            }
            if (!fechado)
                throw TraducaoScript::Erro(QStringLiteral("Literal sem aspa de fechamento na coluna %1.").arg(inicio + 1));
            lista.push_back({Tipo::Literal, inicio, i, valor});
        } else if (c == u'"') {
            const qsizetype fim = linha.indexOf(u'"', i + 1);
            if (fim < 0)
                throw TraducaoScript::Erro(QStringLiteral("Nome entre aspas sem fechamento na coluna %1.").arg(inicio + 1));
            i = fim + 1;
            lista.push_back({Tipo::Identificador, inicio, i, linha.mid(inicio + 1, fim - inicio - 1)});
        } else if (inicioIdentificador(c)) {
            while (i < n && parteIdentificador(linha.at(i)))
                ++i;
            lista.push_back({Tipo::Identificador, inicio, i, linha.mid(inicio, i - inicio).toUpper()});
        } else if (c.isDigit()) {
            while (i < n && (linha.at(i).isDigit() || linha.at(i) == u'.'))
                ++i;
            lista.push_back({Tipo::Numero, inicio, i, linha.mid(inicio, i - inicio)});
        } else {
            static const QStringList duplos = {QStringLiteral("||"), QStringLiteral("<>"), QStringLiteral("<="),
                                               QStringLiteral(">="), QStringLiteral("!=")};
            const QString par = linha.mid(i, 2);
            i += duplos.contains(par) ? 2 : 1;
            lista.push_back({Tipo::Simbolo, inicio, i, linha.mid(inicio, i - inicio)});
        }
    }
    return lista;
}

bool ehPalavra(const std::vector<Token> &lista, size_t i, const char *palavra)
{
    return i < lista.size() && lista[i].tipo == Tipo::Identificador && lista[i].texto == QLatin1String(palavra);
}

bool ehSimbolo(const std::vector<Token> &lista, size_t i, const char *simbolo)
{
    return i < lista.size() && lista[i].tipo == Tipo::Simbolo && lista[i].texto == QLatin1String(simbolo);
}

bool ehComparacao(const Token &token)
{
    static const QStringList comparacoes = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                            QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">="),
                                            QStringLiteral("!=")};
    return token.tipo == Tipo::Simbolo && comparacoes.contains(token.texto);
}

// Positions of the values of a list between `inicio` and `fim` (exclusive), split at the commas
// that are not inside parentheses: for each value, its first and one-past-last token.
std::vector<std::pair<size_t, size_t>> itens(const std::vector<Token> &lista, size_t inicio, size_t fim)
{
    std::vector<std::pair<size_t, size_t>> resultado;
    int profundidade = 0;
    size_t primeiro = inicio;
    for (size_t i = inicio; i < fim; ++i) {
        if (ehSimbolo(lista, i, "("))
            ++profundidade;
        else if (ehSimbolo(lista, i, ")"))
            --profundidade;
        else if (profundidade == 0 && ehSimbolo(lista, i, ",")) {
            resultado.emplace_back(primeiro, i);
            primeiro = i + 1;
        }
    }
    if (primeiro < fim)
        resultado.emplace_back(primeiro, fim);
    return resultado;
}

// The first token at parenthesis depth 0 from `inicio` that is the word, or lista.size().
size_t procuraPalavra(const std::vector<Token> &lista, size_t inicio, const char *palavra)
{
    int profundidade = 0;
    for (size_t i = inicio; i < lista.size(); ++i) {
        if (ehSimbolo(lista, i, "("))
            ++profundidade;
        else if (ehSimbolo(lista, i, ")"))
            --profundidade;
        else if (profundidade == 0 && ehPalavra(lista, i, palavra))
            return i;
    }
    return lista.size();
}

} // namespace

TraducaoScript::TraducaoScript(TiposColuna tipos)
    : m_tipos(std::move(tipos))
{
}

TraducaoScript::TipoColuna TraducaoScript::tipo(const QString &tabela, const QString &coluna) const
{
    if (!m_tipos || tabela.isEmpty() || coluna.isEmpty())
        return TipoColuna::Desconhecido;
    return m_tipos(tabela, coluna);
}

QString TraducaoScript::dataFirebird(const QString &valor)
{
    static const QRegularExpression forma(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = forma.match(valor.trimmed());
    if (!m.hasMatch())
        return QString();
    const QDate data(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!data.isValid())
        return QString();
    QString texto = data.toString(QStringLiteral("dd.MM.yyyy"));
    if (m.hasCaptured(4)) {
        const QTime hora(m.captured(4).toInt(), m.captured(5).toInt(), m.hasCaptured(6) ? m.captured(6).toInt() : 0);
        if (!hora.isValid())
            return QString();
        texto += u' ' + hora.toString(QStringLiteral("HH:mm:ss"));
    }
    return texto;
}

TraducaoScript::Comando TraducaoScript::traduz(const QString &linha) const
{
    const std::vector<Token> lista = tokens(linha);
    Comando comando;

    // The column each literal is written into, where the statement's shape tells it.
    std::vector<std::optional<QString>> colunaDoValor(lista.size());

    if (ehPalavra(lista, 0, "INSERT") && ehPalavra(lista, 1, "INTO") && lista.size() > 2
        && lista[2].tipo == Tipo::Identificador) {
        comando.tipo = TipoComando::Insercao;
        comando.tabela = lista[2].texto.toUpper();
        size_t i = 3;
        if (ehSimbolo(lista, i, "(")) {
            ++i;
            while (i < lista.size() && !ehSimbolo(lista, i, ")")) {
                if (lista[i].tipo == Tipo::Identificador)
                    comando.colunas << lista[i].texto.toUpper();
                ++i;
            }
            ++i;
        }
        std::vector<std::pair<size_t, size_t>> valores;
        if (ehPalavra(lista, i, "SELECT")) {
            size_t primeiro = i + 1;
            if (ehPalavra(lista, primeiro, "DISTINCT") || ehPalavra(lista, primeiro, "ALL"))
                ++primeiro;
            valores = itens(lista, primeiro, procuraPalavra(lista, primeiro, "FROM"));
        } else if (ehPalavra(lista, i, "VALUES") && ehSimbolo(lista, i + 1, "(")) {
            int profundidade = 0;
            size_t fim = i + 1;
            for (; fim < lista.size(); ++fim) {
                if (ehSimbolo(lista, fim, "("))
                    ++profundidade;
                else if (ehSimbolo(lista, fim, ")") && --profundidade == 0)
                    break;
            }
            valores = itens(lista, i + 2, fim);
        }
        for (size_t v = 0; v < valores.size() && v < static_cast<size_t>(comando.colunas.size()); ++v) {
            if (valores[v].second - valores[v].first == 1)
                colunaDoValor[valores[v].first] = comando.colunas.at(static_cast<qsizetype>(v));
        }
    } else if (ehPalavra(lista, 0, "UPDATE") && lista.size() > 1 && lista[1].tipo == Tipo::Identificador) {
        comando.tipo = TipoComando::Atualizacao;
        comando.tabela = lista[1].texto.toUpper();
        if (ehPalavra(lista, 2, "SET")) {
            const auto atribuicoes = itens(lista, 3, procuraPalavra(lista, 3, "WHERE"));
            for (const auto &[primeiro, fim] : atribuicoes) {
                if (fim - primeiro == 3 && lista[primeiro].tipo == Tipo::Identificador && ehSimbolo(lista, primeiro + 1, "=")
                    && lista[primeiro + 2].tipo == Tipo::Literal)
                    comando.atribuicoes.append({lista[primeiro].texto.toUpper(), lista[primeiro + 2].texto});
                else
                    ++comando.outrasAtribuicoes;
            }
        }
    }

    // column = 'value' (SET and WHERE alike), qualified names by their last part.
    for (size_t i = 2; i < lista.size(); ++i) {
        if (lista[i].tipo == Tipo::Literal && !colunaDoValor[i] && ehComparacao(lista[i - 1])
            && lista[i - 2].tipo == Tipo::Identificador)
            colunaDoValor[i] = lista[i - 2].texto.toUpper();
    }

    // Replacements per token; a token replaced by an empty optional keeps its text, one marked
    // as removed disappears with the blanks before it.
    std::vector<std::optional<QString>> troca(lista.size());
    std::vector<bool> removido(lista.size(), false);

    for (size_t i = 0; i < lista.size(); ++i) {
        const Token &t = lista[i];
        if (t.tipo == Tipo::Simbolo && t.texto == u";")
            ++comando.separadores;

        if (t.tipo == Tipo::Identificador && linha.at(t.inicio) != u'"') {
            if (ehSimbolo(lista, i + 1, ".") && ehPalavra(lista, i + 2, "NEXTVAL")) {
                troca[i] = QStringLiteral("NEXT VALUE FOR ") + linha.mid(t.inicio, t.fim - t.inicio);
                removido[i + 1] = removido[i + 2] = true;
                i += 2;
                continue;
            }
            if (t.texto == u"DUAL" && i > 0 && ehPalavra(lista, i - 1, "FROM")) {
                troca[i] = QStringLiteral("RDB$DATABASE");
                continue;
            }
            if (t.texto == u"CHR" && ehSimbolo(lista, i + 1, "(")) {
                troca[i] = QStringLiteral("ASCII_CHAR");
                continue;
            }
        }

        if (t.tipo != Tipo::Literal)
            continue;
        const bool concatenado = (i > 0 && ehSimbolo(lista, i - 1, "||")) || ehSimbolo(lista, i + 1, "||");
        if (concatenado)
            continue;
        if (t.texto.isEmpty()) {
            // The server's dialect reads an empty literal as NULL; Firebird would try to turn
            // '' into a number or a date and fail.
            troca[i] = QStringLiteral("NULL");
            continue;
        }
        const TipoColuna alvo = colunaDoValor[i] ? tipo(comando.tabela, *colunaDoValor[i]) : TipoColuna::Desconhecido;
        if (alvo == TipoColuna::Data || alvo == TipoColuna::DataHora || alvo == TipoColuna::Desconhecido) {
            const QString data = dataFirebird(t.texto);
            if (!data.isEmpty())
                troca[i] = u'\'' + data + u'\'';
        }
    }

    QString saida;
    saida.reserve(linha.size() + 32);
    qsizetype fimAnterior = 0;
    for (size_t i = 0; i < lista.size(); ++i) {
        const Token &t = lista[i];
        if (removido[i]) {
            fimAnterior = t.fim;
            continue;
        }
        saida += QStringView(linha).mid(fimAnterior, t.inicio - fimAnterior);
        saida += troca[i] ? *troca[i] : QStringView(linha).mid(t.inicio, t.fim - t.inicio).toString();
        fimAnterior = t.fim;
    }
    saida += QStringView(linha).mid(fimAnterior);
    comando.texto = saida;
    return comando;
}
