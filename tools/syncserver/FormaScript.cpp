#include "FormaScript.h"

#include "PacoteEnvio.h"

#include <vector>

namespace {

enum class Classe { Literal, Palavra, Numero, Simbolo };

struct Token
{
    Classe classe;
    QString texto; // words upper case; a literal's value with its quotes undone
};

// Marks a place in a statement written by the notebook's builders: a literal whose text
// starts with it, or a word (an unquoted number's place), holds a value to capture.
const QString marca = QStringLiteral("__");

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
                throw FormaScript::Erro(QStringLiteral("literal sem aspa de fechamento"));
            lista.push_back({Classe::Literal, valor});
        } else if (c.isLetter() || c == u'_') {
            const qsizetype inicio = i;
            while (i < n && (linha.at(i).isLetterOrNumber() || linha.at(i) == u'_'))
                ++i;
            lista.push_back({Classe::Palavra, linha.mid(inicio, i - inicio).toUpper()});
        } else if (c.isDigit()) {
            const qsizetype inicio = i;
            while (i < n && linha.at(i).isDigit())
                ++i;
            lista.push_back({Classe::Numero, linha.mid(inicio, i - inicio)});
        } else if (linha.mid(i, 2) == u"||") {
            lista.push_back({Classe::Simbolo, QStringLiteral("||")});
            i += 2;
        } else {
            lista.push_back({Classe::Simbolo, QString(c)});
            ++i;
        }
    }
    return lista;
}

bool igual(const Token &a, const Token &b)
{
    return a.classe == b.classe && a.texto == b.texto;
}

// Compares the line's tokens from `i` with a model's, capturing the marked places; false at
// the first difference. A place of a word takes a number; the place "__CODIGOS" a list of
// numbers separated by commas.
bool confere(const std::vector<Token> &linha, size_t &i, const std::vector<Token> &modelo, FormaScript::Comando &comando)
{
    for (const Token &m : modelo) {
        if (m.classe == Classe::Palavra && m.texto == u"__CODIGOS") {
            for (;;) {
                if (i >= linha.size() || linha[i].classe != Classe::Numero)
                    return false;
                comando.codigos << linha[i++].texto;
                if (i >= linha.size() || !igual(linha[i], {Classe::Simbolo, QStringLiteral(",")}))
                    break;
                ++i;
            }
            continue;
        }
        if (i >= linha.size())
            return false;
        const Token &t = linha[i];
        if (m.classe == Classe::Literal && m.texto.startsWith(marca) && t.classe == Classe::Literal) {
            comando.camposAtualizacao << m.texto.mid(marca.size());
            comando.valoresAtualizacao << t.texto;
        } else if (m.classe == Classe::Palavra && m.texto.startsWith(marca) && t.classe == Classe::Numero) {
            comando.camposAtualizacao << m.texto.mid(marca.size());
            comando.valoresAtualizacao << t.texto;
        } else if (!igual(m, t)) {
            return false;
        }
        ++i;
    }
    return true;
}

// The same place captured twice must hold the same value.
bool coerente(const FormaScript::Comando &comando)
{
    for (qsizetype a = 0; a < comando.camposAtualizacao.size(); ++a) {
        for (qsizetype b = a + 1; b < comando.camposAtualizacao.size(); ++b) {
            if (comando.camposAtualizacao.at(a) == comando.camposAtualizacao.at(b)
                && comando.valoresAtualizacao.at(a) != comando.valoresAtualizacao.at(b))
                return false;
        }
    }
    return true;
}

struct FormaAtualizacao
{
    FormaScript::Tipo tipo;
    const char *tabela;
    QString modelo;
};

const std::vector<FormaAtualizacao> &atualizacoes()
{
    static const std::vector<FormaAtualizacao> lista = {
        {FormaScript::Tipo::Senha, "F599USU",
         PacoteEnvio::comandoSenha(QStringLiteral("__SENUSU"), QStringLiteral("__CODEMP"), QStringLiteral("__CODUSU"))},
        {FormaScript::Tipo::SituacaoPedidos, "F530PDF",
         PacoteEnvio::comandoSituacaoPedidos(QStringLiteral("__CODEMP"), QStringLiteral("__CODVEN"))},
        {FormaScript::Tipo::MensagensLidas, "F599MSG",
         PacoteEnvio::comandoMensagensLidas(QStringLiteral("__CODEMP"), QStringLiteral("__CODUSU"),
                                            {QStringLiteral("__CODIGOS")})},
        {FormaScript::Tipo::Autorizacao, "F030PDV",
         PacoteEnvio::comandoAutorizacao(QStringLiteral("__AUTBON"), QStringLiteral("__CODPDV"), QStringLiteral("__CODEMP"))},
    };
    return lista;
}

struct FormaInsercao
{
    FormaScript::Tipo tipo;
    const char *tabela;
    QString colunas;
    const char *sequencia; // feeds the first column
    bool momento;
};

const std::vector<FormaInsercao> &insercoes()
{
    static const std::vector<FormaInsercao> lista = {
        {FormaScript::Tipo::Pedido, "F530PDF", PacoteEnvio::colunasPedidos, "SQCPDF", true},
        {FormaScript::Tipo::Item, "F530IPF", PacoteEnvio::colunasItens, nullptr, true},
        {FormaScript::Tipo::Cliente, "F510CLI", PacoteEnvio::colunasClientes, nullptr, true},
        {FormaScript::Tipo::Mensagem, "F599MSG", PacoteEnvio::colunasMensagens, "SQCMSG", false},
        {FormaScript::Tipo::Movimento, "F512MTF", PacoteEnvio::colunasMovimentosFlex, nullptr, true},
    };
    return lista;
}

// One value: literals, and the line breaks the notebook writes between them.
std::optional<QString> valor(const std::vector<Token> &linha, size_t &i)
{
    QString texto;
    bool vazio = true;
    for (;;) {
        if (i < linha.size() && linha[i].classe == Classe::Literal) {
            texto += linha[i].texto;
            ++i;
        } else if (i + 3 < linha.size() && igual(linha[i], {Classe::Palavra, QStringLiteral("CHR")})
                   && igual(linha[i + 1], {Classe::Simbolo, QStringLiteral("(")}) && linha[i + 2].classe == Classe::Numero
                   && igual(linha[i + 3], {Classe::Simbolo, QStringLiteral(")")})
                   && (linha[i + 2].texto == u"13" || linha[i + 2].texto == u"10")) {
            texto += QChar(linha[i + 2].texto.toInt());
            vazio = false;
            i += 4;
        } else {
            throw FormaScript::Erro(QStringLiteral("valor que não é literal"));
        }
        if (i < linha.size() && igual(linha[i], {Classe::Simbolo, QStringLiteral("||")})) {
            ++i;
            vazio = false;
            continue;
        }
        break;
    }
    if (vazio && texto.isEmpty())
        return std::nullopt;
    return texto;
}

bool leInsercao(const std::vector<Token> &linha, const FormaInsercao &forma, FormaScript::Comando &comando)
{
    const QString cabecalho = QStringLiteral("INSERT INTO ") + QLatin1String(forma.tabela) + QStringLiteral(" (")
                              + forma.colunas + (forma.momento ? QStringLiteral(", CODNOW)") : QStringLiteral(")"))
                              + QStringLiteral(" SELECT");
    size_t i = 0;
    if (!confere(linha, i, tokens(cabecalho), comando))
        return false;
    QStringList colunas = forma.colunas.split(u',');
    for (QString &coluna : colunas)
        coluna = coluna.trimmed();
    if (forma.sequencia) {
        const QString prefixo = QLatin1String(forma.sequencia);
        if (i + 3 >= linha.size() || linha[i].classe != Classe::Palavra || !linha[i].texto.startsWith(prefixo)
            || !igual(linha[i + 1], {Classe::Simbolo, QStringLiteral(".")})
            || !igual(linha[i + 2], {Classe::Palavra, QStringLiteral("NEXTVAL")})
            || !igual(linha[i + 3], {Classe::Simbolo, QStringLiteral(",")}))
            throw FormaScript::Erro(QStringLiteral("sem a sequência ") + prefixo);
        comando.empresaSequencia = linha[i].texto.mid(prefixo.size());
        i += 4;
        colunas.removeFirst();
    }
    if (forma.momento)
        colunas << QStringLiteral("CODNOW");
    for (qsizetype c = 0; c < colunas.size(); ++c) {
        if (c > 0) {
            if (i >= linha.size() || !igual(linha[i], {Classe::Simbolo, QStringLiteral(",")}))
                throw FormaScript::Erro(QStringLiteral("faltam valores"));
            ++i;
        }
        comando.valores << valor(linha, i);
    }
    size_t fim = i;
    if (!confere(linha, fim, tokens(QStringLiteral("FROM DUAL")), comando) || fim != linha.size())
        throw FormaScript::Erro(QStringLiteral("texto além dos valores"));
    comando.tipo = forma.tipo;
    comando.tabela = QLatin1String(forma.tabela);
    comando.colunas = colunas;
    return true;
}

} // namespace

std::optional<QString> FormaScript::Comando::valor(const QString &coluna) const
{
    const qsizetype c = colunas.indexOf(coluna);
    if (c >= 0)
        return valores.at(c);
    const qsizetype a = camposAtualizacao.indexOf(coluna);
    if (a >= 0 && !valoresAtualizacao.at(a).isEmpty())
        return valoresAtualizacao.at(a);
    return std::nullopt;
}

FormaScript::Comando FormaScript::le(const QString &linha)
{
    const std::vector<Token> lista = tokens(linha);
    for (const FormaInsercao &forma : insercoes()) {
        Comando comando;
        if (leInsercao(lista, forma, comando))
            return comando;
    }
    for (const FormaAtualizacao &forma : atualizacoes()) {
        Comando comando;
        size_t i = 0;
        if (confere(lista, i, tokens(forma.modelo), comando) && i == lista.size()) {
            if (!coerente(comando))
                throw Erro(QStringLiteral("valores divergentes no mesmo comando"));
            comando.tipo = forma.tipo;
            comando.tabela = QLatin1String(forma.tabela);
            return comando;
        }
    }
    throw Erro(QStringLiteral("comando não aceito pelo servidor"));
}
