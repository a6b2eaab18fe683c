#include "D500DAT.h"

#include "AcaoInterrompida.h"
#include "ClientDataSetPlus.h"
#include "DatabaseError.h"
#include "Formatos.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

D500DAT *s_instance = nullptr;

const QString kSelectLogado = QStringLiteral("Select * from F599USU");
const QString kSelectUsuarioMinimo =
    QStringLiteral("Select CODUSU, NOMUSU, SENUSU, HSTSRV, CODCCU, CODVEN, CODEMP from F599USU");

const QStringList kColunasLogado = {
    QStringLiteral("CODUSU"), QStringLiteral("NOMUSU"), QStringLiteral("SENUSU"),
    QStringLiteral("CODCCU"), QStringLiteral("CODEMP"), QStringLiteral("CODVEN"),
    QStringLiteral("CODSUP"), QStringLiteral("HSTSRV"), QStringLiteral("DATATL"),
    QStringLiteral("HORATL"), QStringLiteral("USASUP"), QStringLiteral("SLDFLX"),
    QStringLiteral("ACRTAB"), QStringLiteral("ESTCID"), QStringLiteral("DESRET"),
    QStringLiteral("EXPSEN"), QStringLiteral("EXPANT"), QStringLiteral("SENANT"),
};

// Restores the display form however the statement-form section is left.
class FormaComando
{
public:
    explicit FormaComando(D500DAT &dat) : m_dat(dat) { m_dat.ajustaSeparadores(true); }
    ~FormaComando() { m_dat.ajustaSeparadores(false); }
    FormaComando(const FormaComando &) = delete;
    FormaComando &operator=(const FormaComando &) = delete;

private:
    D500DAT &m_dat;
};

// --- text helpers ---

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

// Removes leading and trailing blanks and control characters (everything up to the blank).
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// The decimal text of digits plus one, exact at any length.
QString incrementDigits(const QString &digits)
{
    QString text = digits;
    while (text.size() > 1 && text.front() == QLatin1Char('0'))
        text.remove(0, 1);
    qsizetype i = text.size() - 1;
    while (i >= 0) {
        if (text.at(i) == QLatin1Char('9')) {
            text[i] = QLatin1Char('0');
            --i;
        } else {
            text[i] = QChar(text.at(i).unicode() + 1);
            return text;
        }
    }
    return QLatin1Char('1') + text;
}

// --- outbound script values ---

QString textoDoValor(const TClientDataSetPlus &ds, int field)
{
    const QVariant value = ds.value(field);
    if (value.isNull() || !value.isValid())
        return QString();
    switch (ds.fieldDef(field).kind) {
    case FieldKind::DateTime:
        // The server takes the day of a timestamp only.
        return value.toDateTime().date().toString(Formatos::dateForm());
    case FieldKind::Date:
        return value.toDate().toString(Formatos::dateForm());
    case FieldKind::Time:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case FieldKind::Integer:
        return QString::number(value.toLongLong());
    case FieldKind::Numeric:
    case FieldKind::Float:
        return Formatos::number(value.toDouble());
    case FieldKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::String:
    case FieldKind::Blob:
        break;
    }
    return value.toString();
}

// One value of the VALUES list, without its quotes: quotes doubled, line breaks as CHR calls.
QString literalDoScript(const QString &text)
{
    QString value = text;
    value.replace(QLatin1Char('\''), QLatin1String("''"));
    value.replace(QLatin1String("\r\n"), QLatin1String("'||CHR(13)||CHR(10)||'"));
    value = trimBlanks(value);
    // The script holds one statement per line: a lone CR or LF inside a value would split it.
    value.replace(QLatin1Char('\r'), QLatin1String("'||CHR(13)||'"));
    value.replace(QLatin1Char('\n'), QLatin1String("'||CHR(10)||'"));
    return value;
}

// --- password scrambling ---

int positionIn(const QString &alphabet, QChar c)
{
    return static_cast<int>(alphabet.indexOf(c));
}

// --- session values ---

QString codigoTexto(const TClientDataSetPlus &ds, const QString &field)
{
    if (ds.isNull(field))
        return QString();
    switch (ds.kind(field)) {
    case FieldKind::Integer:
        return QString::number(ds.asInteger(field));
    case FieldKind::Numeric:
    case FieldKind::Float:
        return QString::number(std::llround(ds.asFloat(field)));
    default:
        return ds.asString(field).trimmed();
    }
}

QString texto(const TClientDataSetPlus &ds, const QString &field)
{
    return ds.isNull(field) ? QString() : ds.asString(field);
}

double numero(const TClientDataSetPlus &ds, const QString &field)
{
    return ds.isNull(field) ? 0.0 : ds.asFloat(field);
}

// 32-bit arithmetic that wraps like the release code always has.
std::int32_t wrap32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> inteiro32(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

const char *nomeDoTipo(TipoMensagem kind)
{
    switch (kind) {
    case TipoMensagem::Aviso:
        return "Aviso";
    case TipoMensagem::Erro:
        return "Erro";
    case TipoMensagem::Informacao:
        return "Informação";
    case TipoMensagem::Confirmacao:
        return "Confirmação";
    }
    return "";
}

} // namespace

D500DAT::D500DAT(QObject *parent)
    : QObject(parent)
{
    auto makeDataSet = [this](const QString &sql) {
        auto *ds = new TClientDataSetPlus(this);
        ds->setConnection(&cnxFirebird);
        if (!sql.isEmpty())
            ds->setCommandText(sql);
        return ds;
    };
    cdsComando = makeDataSet(QString());
    cdsAtualiza = makeDataSet(QString());
    cdsLogado = makeDataSet(kSelectLogado);
    cdsUSUERRO = makeDataSet(kSelectUsuarioMinimo);
    s_instance = this;
}

D500DAT::~D500DAT()
{
    // The datasets go before the connection they use.
    delete cdsComando;
    delete cdsAtualiza;
    delete cdsLogado;
    delete cdsUSUERRO;
    if (s_instance == this)
        s_instance = nullptr;
}

D500DAT *D500DAT::instance()
{
    return s_instance;
}

// ---------------------------------------------------------------- message box

void D500DAT::setMessagePresenter(MessagePresenter *presenter)
{
    m_presenter = presenter;
}

RespostaMensagem D500DAT::exibeMensagem(const QString &text, TipoMensagem kind, CorMensagem colour,
                                        BotoesMensagem buttons)
{
    if (m_presenter)
        return m_presenter->present(text, kind, colour, buttons);
    std::fprintf(stderr, "[%s] %s\n", nomeDoTipo(kind), text.toLocal8Bit().constData());
    std::fflush(stderr);
    return buttons == BotoesMensagem::Ok ? RespostaMensagem::Ok : RespostaMensagem::Nao;
}

bool D500DAT::executaAcao(const std::function<void()> &action)
{
    bool completed = false;
    std::optional<QString> failure;
    try {
        action();
        completed = true;
    } catch (const AcaoInterrompida &) {
    } catch (const DatabaseError &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    // A failure inside a statement-form section must not leave the process in that form.
    if (Formatos::statementForm())
        ajustaSeparadores(false);
    if (failure)
        exibeMensagem(*failure, TipoMensagem::Erro, CorMensagem::Vermelho, BotoesMensagem::Ok);
    return completed;
}

// ---------------------------------------------------------------- shared routines

QString D500DAT::proximoCodigo(const QString &table, const QString &column, const QString &condition)
{
    const QString sql = QStringLiteral(" Select COALESCE(MAX(") + column + QStringLiteral("),0) CODIGO FROM ")
        + table + QStringLiteral(" WHERE ") + condition;
    QSqlQuery qrComando = cnxFirebird.query();
    if (!qrComando.exec(sql))
        throw DatabaseError(engineMessage(qrComando.lastError()));
    if (!qrComando.next())
        return QStringLiteral("1");
    QString maximum = qrComando.value(QStringLiteral("CODIGO")).toString().trimmed();
    // A decimal part must not be read as more digits of the code ("12.0" is 12, not 120).
    const qsizetype point = maximum.indexOf(QLatin1Char('.'));
    if (point >= 0)
        maximum.truncate(point);
    const QString digits = somenteNumeros(maximum);
    if (digits.isEmpty())
        return QStringLiteral("1");
    return incrementDigits(digits);
}

bool D500DAT::geraInsercoes(const QString &targetTable, const QString &sequence, double moment,
                            const QString &query, const QString &columns)
{
    QString statement;
    std::optional<QString> failure;
    {
        FormaComando forma(*this);
        try {
            cdsComando->close();
            cdsComando->setCommandText(query);
            cdsComando->open();

            const QString head = QStringLiteral(" INSERT INTO ") + targetTable + QStringLiteral(" (")
                + columns + (moment > 0 ? QStringLiteral(", CODNOW) ") : QStringLiteral(") "));
            const QString select = sequence.isEmpty()
                ? QStringLiteral(" SELECT ")
                : QStringLiteral(" SELECT ") + sequence + QStringLiteral(".NEXTVAL, ");
            const QString momentText = moment > 0 ? Formatos::number(moment) : QString();
            const int fieldCount = cdsComando->fieldCount();

            for (cdsComando->first(); !cdsComando->eof(); cdsComando->next()) {
                statement = head + select;
                for (int i = 0; i < fieldCount; ++i) {
                    statement += QLatin1Char('\'') + literalDoScript(textoDoValor(*cdsComando, i))
                        + QStringLiteral("',");
                }
                if (fieldCount > 0)
                    statement.chop(1);
                if (moment > 0)
                    statement += QStringLiteral(",'") + momentText + QLatin1Char('\'');
                statement += QStringLiteral(" FROM DUAL ");
                scriptEnvio.append(statement);
            }
        } catch (const DatabaseError &e) {
            failure = e.message();
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
        }
        cdsComando->close();
    }
    // The boxes come after the display form is back: they run a nested event loop.
    if (failure) {
        exibeMensagem(statement, TipoMensagem::Informacao, CorMensagem::Azul, BotoesMensagem::Ok);
        exibeMensagem(*failure, TipoMensagem::Informacao, CorMensagem::Azul, BotoesMensagem::Ok);
    }
    return !failure;
}

void D500DAT::ajustaSeparadores(bool statementForm)
{
    Formatos::setStatementForm(statementForm);
}

QString D500DAT::somenteNumeros(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    }
    return digits;
}

QString D500DAT::reduzDigitos(const QString &text)
{
    QString digits = somenteNumeros(text);
    if (digits.isEmpty())
        return QStringLiteral("0");
    while (digits.size() > 1) {
        int sum = 0;
        for (const QChar c : std::as_const(digits))
            sum += c.unicode() - '0';
        digits = QString::number(sum);
    }
    return digits;
}

bool D500DAT::validaCpfCnpj(const QString &kind, const QString &number)
{
    QString d = somenteNumeros(number);
    const bool cpf = kind == QLatin1String("F");
    const int length = cpf ? 11 : 14;
    if (d.size() < length - 2 || d.size() > length)
        return false;
    d = d.rightJustified(length, QLatin1Char('0'));

    auto checkDigit = [&d](const QList<int> &weights) {
        int sum = 0;
        for (int i = 0; i < weights.size(); ++i)
            sum += (d.at(i).unicode() - '0') * weights.at(i);
        const int digit = 11 - sum % 11;
        return digit >= 10 ? 0 : digit;
    };
    const QList<int> first = cpf ? QList<int>{10, 9, 8, 7, 6, 5, 4, 3, 2}
                                 : QList<int>{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    const QList<int> second = cpf ? QList<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2}
                                  : QList<int>{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkDigit(first) == d.at(length - 2).unicode() - '0'
        && checkDigit(second) == d.at(length - 1).unicode() - '0';
}

QString D500DAT::geraSenhaLiberacao(const QString &orderNumber, const QString &sellerCode,
                                    const QDate &orderDate)
{
    const QString fallback = QString::fromLatin1(kSenhaLiberacaoPadrao);
    const std::optional<std::int32_t> order = inteiro32(orderNumber);
    const std::optional<std::int32_t> seller = inteiro32(sellerCode);
    if (!order || !seller || !orderDate.isValid())
        return fallback;

    const std::int32_t a = wrap32(std::int64_t(*order) * kMultiplicadorLiberacao + *seller);
    QString reversed = QString::number(a);
    std::reverse(reversed.begin(), reversed.end());
    const std::optional<std::int32_t> r = inteiro32(reversed);
    if (!r)
        return fallback;
    const std::int32_t s = orderDate.day() * orderDate.month() + orderDate.year();
    const std::int32_t code = wrap32(std::int64_t(*r) + a + wrap32(std::int64_t(s) + a));
    return QString::number(code);
}

const std::array<QString, 4> &D500DAT::alfabetosSenha()
{
    // Same length, same position pairs: each rule swaps two alphabets position by position.
    // The blank sits at the position where C and D share their one common character, so only
    // rare characters can scramble into a blank at either end.
    static const std::array<QString, 4> alphabets = {
        QStringLiteral(u"1P8kDnNci=FbYr-Qv tSe.%CmIM#&lsOXhEVG*f"),
        QStringLiteral(u"Õ(ñíåÜÁ³Ž×‰)•šÇÂ¥¤:¬ê/ëŠ¡;õžÔôÑÍ‡ÀÛƒÐÊÚ"),
        QStringLiteral(u"uT4R!xa+6jwo3AK5H¦JZU9d0z@y$7WBqgp_?2L,"),
        QStringLiteral(u"²Éµ¿Óð[ùÙ<®à…óŒ£¢¦ã>]Ýáâß·¸—Ÿé¶úîçû~ÃÖ†"),
    };
    return alphabets;
}

QString D500DAT::embaralhaSenha(const QString &text)
{
    const auto &[A, B, C, D] = alfabetosSenha();
    const qsizetype n = trimBlanks(text).size();
    QString result;
    result.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool odd = (i % 2) == 0; // positions count from 1
        int p = -1;
        if (odd) {
            if ((p = positionIn(A, c)) >= 0)
                result.append(B.at(p));
            else if ((p = positionIn(B, c)) >= 0)
                result.append(A.at(p));
            else if ((p = positionIn(C, c)) >= 0)
                result.append(D.at(p));
            else if ((p = positionIn(D, c)) >= 0)
                result.append(C.at(p));
        } else {
            if ((p = positionIn(A, c)) >= 0)
                result.append(C.at(p));
            else if ((p = positionIn(C, c)) >= 0)
                result.append(A.at(p));
            else if ((p = positionIn(B, c)) >= 0)
                result.append(D.at(p));
            else if ((p = positionIn(D, c)) >= 0)
                result.append(B.at(p));
        }
    }
    return result;
}

bool D500DAT::senhaPreservada(const QString &password)
{
    return embaralhaSenha(embaralhaSenha(password)) == password;
}

double D500DAT::momentoNumero(const QDateTime &moment)
{
    static const QDate origin(1899, 12, 30);
    const double days = static_cast<double>(origin.daysTo(moment.date()));
    const double fraction = moment.time().msecsSinceStartOfDay() / 86400000.0;
    return days + fraction;
}

// ---------------------------------------------------------------- session

void D500DAT::abreLogado()
{
    cdsLogado->close();
    cdsLogado->setCommandText(kSelectLogado);
    cdsLogado->open();
    for (const QString &column : kColunasLogado) {
        if (!cdsLogado->hasField(column)) {
            cdsLogado->close();
            throw DatabaseError(QStringLiteral("Campo não encontrado em F599USU: ") + column);
        }
    }
}

namespace {
// The fields both loads read: the user, the server, the cost centre, the seller and the
// company. No row clears them.
void leUsuarioBasico(Sessao &s, const TClientDataSetPlus *ds)
{
    const auto txt = [ds](const char *campo) { return ds ? texto(*ds, QLatin1String(campo)) : QString(); };
    const auto cod = [ds](const char *campo) { return ds ? codigoTexto(*ds, QLatin1String(campo)) : QString(); };
    s.CODUSU = cod("CODUSU");
    s.NOMUSU = txt("NOMUSU");
    s.SENUSU = txt("SENUSU");
    s.HSTSRV = txt("HSTSRV");
    s.CODCCU = cod("CODCCU");
    s.CODVEN = cod("CODVEN");
    s.CODEMP = cod("CODEMP");
}

// The first row of an open dataset, or null when it has none.
const TClientDataSetPlus *primeiraLinha(TClientDataSetPlus *ds)
{
    if (ds->isEmpty())
        return nullptr;
    ds->first();
    return ds;
}
} // namespace

void D500DAT::carregaUsuario()
{
    abreLogado();
    Sessao &s = sessao;
    const TClientDataSetPlus *ds = primeiraLinha(cdsLogado);
    leUsuarioBasico(s, ds);
    const auto txt = [ds](const char *campo) { return ds ? texto(*ds, QLatin1String(campo)) : QString(); };
    const auto num = [ds](const char *campo) { return ds ? numero(*ds, QLatin1String(campo)) : 0.0; };
    s.CODSUP = ds ? codigoTexto(*ds, QStringLiteral("CODSUP")) : QString();
    s.SLDFLX = num("SLDFLX");
    s.ACRTAB = num("ACRTAB");
    s.DESRET = num("DESRET");
    s.ESTCID = txt("ESTCID");
    s.EXPSEN = ds ? txt("EXPSEN") : QStringLiteral("N");
    s.EXPANT = ds ? txt("EXPANT") : QStringLiteral("N");
    s.SENANT = txt("SENANT");
    s.usuarioSupervisor = txt("USASUP") == QLatin1String("S");
}

void D500DAT::carregaUsuarioMinimo()
{
    cdsUSUERRO->close();
    cdsUSUERRO->setCommandText(kSelectUsuarioMinimo);
    cdsUSUERRO->open();
    leUsuarioBasico(sessao, primeiraLinha(cdsUSUERRO));
}
