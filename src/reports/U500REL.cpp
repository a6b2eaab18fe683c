#include "U500REL.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "FieldValues.h"
#include "PlanilhaRelatorio.h"
#include "TextCodec.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>
#include <QUrl>

namespace {

const QString kOculto = QStringLiteral("_OCULT");
const QString kFimLinha = QStringLiteral("\r\n");
const QString kCelulaDireita = QStringLiteral(
    "    <td><div align=\"right\" style='text-align:right' ><font size=\"1\" face=\"Courier New\">");
const QString kCelulaEsquerda = QStringLiteral(
    "    <td><div align=\"left\" style='text-align:left' ><font size=\"1\" face=\"Courier New\">");
const QString kFimCelula = QStringLiteral("</font></div></td>");

// The wait cursor while a report runs, when there is a screen to show it on.
class CursorEspera
{
public:
    CursorEspera() : m_ativo(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_ativo)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~CursorEspera()
    {
        if (m_ativo)
            QGuiApplication::restoreOverrideCursor();
    }
    CursorEspera(const CursorEspera &) = delete;
    CursorEspera &operator=(const CursorEspera &) = delete;

private:
    bool m_ativo;
};

// Values and names go into the page as text: a "<" in a customer's name must not open a tag.
QString textoHtml(const QString &texto)
{
    for (const QChar c : texto)
        if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('&'))
            return texto.toHtmlEscaped();
    return texto;
}

bool semGrupos(const QStringList &quebras)
{
    for (const QString &q : quebras)
        if (!q.isEmpty())
            return false;
    return true;
}

} // namespace

D500REL *D500REL::s_instance = nullptr;

D500REL::D500REL(QObject *parent)
    : QObject(parent)
    , pastaPrograma(QDir::currentPath())
    , abreArquivo([](const QString &arquivo) { return QDesktopServices::openUrl(QUrl::fromLocalFile(arquivo)); })
    , cdsComando(new TClientDataSetPlus(this))
{
    s_instance = this;
}

D500REL::~D500REL()
{
    if (s_instance == this)
        s_instance = nullptr;
}

D500REL *D500REL::instance()
{
    return s_instance;
}

// ---------------------------------------------------------------- column names

bool D500REL::exibeCampo(const QString &campo)
{
    return !campo.toUpper().contains(kOculto);
}

QString D500REL::TrataCampo(const QString &campo)
{
    QString nome = campo;
    nome.remove(kOculto);
    const qsizetype marca = nome.indexOf(QLatin1String("#("));
    return marca < 0 ? nome : nome.left(marca);
}

int D500REL::decimaisCampo(const QString &campo)
{
    QString nome = campo;
    nome.remove(kOculto);
    const qsizetype inicio = nome.indexOf(QLatin1String("#("));
    if (inicio < 0)
        return -1;
    const qsizetype fim = nome.indexOf(QLatin1String(")#"), inicio + 2);
    if (fim < 0)
        return -1;
    bool ok = false;
    const int n = nome.mid(inicio + 2, fim - inicio - 2).trimmed().toInt(&ok);
    return ok && n >= 0 ? std::min(n, NumeroRelatorio::maxEscala) : -1;
}

int D500REL::isTotalizador(const QString &campo, const QStringList &totalizadores)
{
    for (int i = 0; i < totalizadores.size(); ++i)
        if (totalizadores.at(i).compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString D500REL::FormataValor(const QString &campo, const QString &valor) const
{
    const int decimais = decimaisCampo(campo);
    if (decimais < 0)
        return valor;
    const std::optional<NumeroRelatorio> numero = NumeroRelatorio::le(valor);
    if (!numero)
        return valor; // a null shows empty; a text that is no number, as it is
    return statementForm() ? numero->formata(decimais, QLatin1Char('.'), QChar())
                           : numero->formata(decimais, QLatin1Char(','), QLatin1Char('.'));
}

int D500REL::getNumCampos() const
{
    return int(std::count(m_visivel.cbegin(), m_visivel.cend(), true));
}

// ---------------------------------------------------------------- state

void D500REL::zerarTotalizadores(bool todos)
{
    m_totaisParciais.fill(NumeroRelatorio());
    if (todos)
        m_totaisGerais.fill(NumeroRelatorio());
}

void D500REL::zerarQuebras()
{
    m_ultimasQuebras.fill(QString());
    m_valoresQuebra.fill(QVariant());
    m_grupoAberto = false;
}

int D500REL::isQuebra(const QStringList &quebras)
{
    // The first row always opens a group, even when its break values are empty: otherwise its
    // rows would come without a column header.
    bool mudou = !m_grupoAberto;
    for (int i = 0; i < quebras.size(); ++i) {
        const int campo = m_camposQuebra.value(i, -1);
        if (campo < 0)
            continue;
        // Compared as values, told as text: equal values have equal texts.
        const QVariant valor = cdsComando->value(campo);
        if (!m_grupoAberto || valor != m_valoresQuebra.value(i)) {
            mudou = true;
            m_valoresQuebra[i] = valor;
            m_ultimasQuebras[i] = textoCampo(campo);
        }
    }
    m_grupoAberto = true;
    return mudou ? 1 : -1;
}

// ---------------------------------------------------------------- blocks

void D500REL::escreve(const QString &linha)
{
    m_html += linha;
    m_html += kFimLinha;
}

// The page goes to its file in pieces of about a megabyte, so a long report does not hold
// the whole text twice in memory.
void D500REL::descarrega(bool fim)
{
    if (!m_arquivo || (!fim && m_html.size() < (1 << 20)))
        return;
    if (m_arquivo->write(TextCodec::toWindows1252(m_html)) < 0)
        throw DatabaseError(QStringLiteral("Não foi possível gravar o relatório %1: %2")
                                .arg(QDir::toNativeSeparators(m_arquivo->fileName()), m_arquivo->errorString()));
    m_html.clear();
}

std::optional<NumeroRelatorio> D500REL::numeroCampo(int campo) const
{
    if (cdsComando->isNull(campo))
        return std::nullopt;
    if (m_tipos.at(campo) == FieldKind::Numeric)
        return NumeroRelatorio::deNumeric(cdsComando->value(campo).toDouble(), m_escalas.at(campo));
    return NumeroRelatorio::le(cdsComando->asString(campo));
}

QString D500REL::valorExibido(int campo) const
{
    const int decimais = m_decimais.at(campo);
    if (decimais < 0)
        return textoCampo(campo);
    const std::optional<NumeroRelatorio> numero = numeroCampo(campo);
    if (!numero)
        return textoCampo(campo); // a null shows empty; a text that is no number, as it is
    return statementForm() ? numero->formata(decimais, QLatin1Char('.'), QChar())
                           : numero->formata(decimais, QLatin1Char(','), QLatin1Char('.'));
}

QString D500REL::textoCampo(int campo) const
{
    if (cdsComando->isNull(campo))
        return QString();
    const FieldKind tipo = m_tipos.at(campo);
    if (tipo == FieldKind::String)
        return cdsComando->value(campo).toString();
    if (tipo != FieldKind::Numeric && tipo != FieldKind::Float)
        return cdsComando->asString(campo);
    // A number shown as it is: shortest form, with the decimal comma on the page.
    QString texto = FieldValues::plainSignificant(cdsComando->value(campo).toDouble());
    if (!statementForm())
        texto.replace(QLatin1Char('.'), QLatin1Char(','));
    return texto;
}

void D500REL::atualizaComando(const QString &sql)
{
    cdsComando->close();
    cdsComando->setConnection(&D500DAT::instance()->cnxFirebird);
    cdsComando->setCommandText(sql);
    cdsComando->open();
}

void D500REL::geraCabecalhoRel(const QString &titulo)
{
    if (m_modo == Modo::Planilha) {
        m_planilha->titulo(titulo);
        return;
    }
    escreve(QStringLiteral("<Html><Body>"));
    escreve(QStringLiteral("<div align=\"center\"></div>"));
    escreve(QStringLiteral("<p align=\"center\"><font size=\"6\" face=\"Courier New\"><strong><B>"));
    escreve(textoHtml(titulo) + QStringLiteral("</B></strong></font></p>"));
    escreve(QStringLiteral("<table border=\"1\" align=\"center\">"));
}

void D500REL::geraCabecalhoColunas()
{
    QStringList nomes;
    for (int i = 0; i < m_nomes.size(); ++i)
        if (m_visivel.at(i))
            nomes << TrataCampo(m_nomes.at(i));
    if (m_modo == Modo::Planilha) {
        m_planilha->cabecalhoColunas(nomes);
        return;
    }
    escreve(QStringLiteral("  <tr bgcolor=\"#8080FF\">"));
    for (const QString &nome : nomes)
        escreve(QStringLiteral("    <td><div align=\"center\" style='text-align:center' ><font size=\"2\" face=\"Courier New\">")
                + textoHtml(nome) + QStringLiteral("</font></div></td> "));
    escreve(QStringLiteral("  </tr>"));
}

void D500REL::geraCabecalhoQuebra(const QStringList &quebras, bool parciais, const QStringList &totalizadores)
{
    if (cdsComando->recNo() > 0) {
        if (parciais)
            geraTotais(QStringLiteral("Parcial"), m_totaisParciais, totalizadores);
        zerarTotalizadores(false);
    }
    QStringList textos;
    for (const QString &quebra : quebras) {
        const int campo = quebra.isEmpty() ? -1 : cdsComando->fieldIndex(quebra);
        textos << TrataCampo(quebra) + QStringLiteral(" : ") + (campo < 0 ? QString() : textoCampo(campo));
    }
    if (m_modo == Modo::Planilha) {
        for (const QString &texto : textos)
            m_planilha->cabecalhoQuebra(texto);
    } else {
        escreve(QStringLiteral("  <tr bgcolor=\"#8080FF\">"));
        escreve(QStringLiteral("    <td colspan=\"%1\"><div align=\"rigth\" style='text-align:rigth' ><font size=\"2\" face=\"Courier New\">")
                    .arg(getNumCampos()));
        for (const QString &texto : textos)
            escreve(QStringLiteral("<B>") + textoHtml(texto) + QStringLiteral("</B><BR>"));
        escreve(QStringLiteral("</font></div></td></tr>"));
    }
    geraCabecalhoColunas();
}

void D500REL::geraTotais(const QString &tipo, const QVector<NumeroRelatorio> &totais, const QStringList &totalizadores)
{
    const int n = getNumCampos();
    for (int i = 0; i < totalizadores.size(); ++i) {
        const QString texto = QStringLiteral("Total ") + tipo + QStringLiteral(" de ") + TrataCampo(totalizadores.at(i))
                              + QStringLiteral(" : ")
                              + totais.value(i).formata(2, QLatin1Char(','), QLatin1Char('.'));
        if (m_modo == Modo::Planilha) {
            m_planilha->total(texto);
            continue;
        }
        escreve(QStringLiteral("  <tr bgcolor=\"#A2CD5A\">"));
        escreve(QStringLiteral("    <td colspan=\"%1\"><div align=\"rigth\" style='text-align:right' ><font size=\"1.5\" face=\"Courier New\"><B>")
                    .arg(n)
                + textoHtml(texto) + QStringLiteral("</B></font></div></td>"));
        escreve(QStringLiteral("  </tr>"));
    }
    if (m_modo == Modo::Html)
        escreve(QStringLiteral("  <tr > <td colspan=\"%1\"></td></tr>").arg(n));
}

// ---------------------------------------------------------------- the walk

bool D500REL::percorre(const Relatorio &r)
{
    const int colunas = cdsComando->fieldCount();
    m_nomes = cdsComando->fieldNames();
    m_visivel.resize(colunas);
    m_decimais.resize(colunas);
    m_totalizador.resize(colunas);
    m_tipos.resize(colunas);
    m_escalas.resize(colunas);
    for (int i = 0; i < colunas; ++i) {
        m_tipos[i] = cdsComando->fieldDef(i).kind;
        m_escalas[i] = cdsComando->fieldDef(i).scale;
        m_visivel[i] = exibeCampo(m_nomes.at(i));
        m_decimais[i] = decimaisCampo(m_nomes.at(i));
        m_totalizador[i] = isTotalizador(m_nomes.at(i), r.totalizadores);
    }
    m_camposQuebra.clear();
    for (const QString &quebra : r.quebras) {
        m_camposQuebra << (quebra.isEmpty() ? -1 : cdsComando->fieldIndex(quebra));
        if (!quebra.isEmpty() && m_camposQuebra.last() < 0)
            throw DatabaseError(QStringLiteral("A coluna de quebra %1 não está no relatório.").arg(quebra));
    }
    m_valoresQuebra = QVariantList(r.quebras.size());
    m_totaisGerais = QVector<NumeroRelatorio>(r.totalizadores.size());
    m_totaisParciais = QVector<NumeroRelatorio>(r.totalizadores.size());
    m_ultimasQuebras = QStringList(r.quebras);
    zerarTotalizadores(true);
    zerarQuebras();
    if (cdsComando->isEmpty())
        return false;

    const bool agrupado = !semGrupos(r.quebras);
    geraCabecalhoRel(r.titulo);
    if (!agrupado)
        geraCabecalhoColunas();
    QVector<PlanilhaRelatorio::Celula> celulas;
    for (cdsComando->first(); !cdsComando->eof(); cdsComando->next()) {
        if (agrupado && isQuebra(r.quebras) == 1)
            geraCabecalhoQuebra(r.quebras, r.parciais, r.totalizadores);
        if (m_modo == Modo::Html)
            escreve(QStringLiteral("  <tr>"));
        else
            celulas.clear();
        for (int i = 0; i < colunas; ++i) {
            if (m_visivel.at(i)) {
                if (m_modo == Modo::Planilha) {
                    celulas.append({valorExibido(i), m_decimais.at(i)});
                } else {
                    m_html += m_decimais.at(i) >= 0 ? kCelulaDireita : kCelulaEsquerda;
                    m_html += textoHtml(valorExibido(i));
                    m_html += kFimCelula;
                    m_html += kFimLinha;
                }
            }
            const int total = m_totalizador.at(i);
            if (total >= 0) {
                // A null or a text that is no number counts 0.
                if (const std::optional<NumeroRelatorio> numero = numeroCampo(i)) {
                    m_totaisParciais[total] += *numero;
                    m_totaisGerais[total] += *numero;
                }
            }
        }
        if (m_modo == Modo::Html) {
            escreve(QStringLiteral("  </tr>"));
            descarrega(false);
        } else {
            m_planilha->linha(celulas);
        }
    }
    if (r.parciais)
        geraTotais(QStringLiteral("Parcial"), m_totaisParciais, r.totalizadores);
    geraTotais(QStringLiteral("Geral"), m_totaisGerais, r.totalizadores);
    return true;
}

bool D500REL::toHTML(const Relatorio &r)
{
    CursorEspera cursor;
    m_modo = Modo::Html;
    atualizaComando(r.sql);
    m_html.clear();
    if (QFile::exists(r.arquivo) && !QFile::remove(r.arquivo))
        throw DatabaseError(QStringLiteral("Não foi possível apagar o relatório anterior %1.")
                                .arg(QDir::toNativeSeparators(r.arquivo)));
    struct Fim
    {
        D500REL &rel;
        bool gravado = false;
        ~Fim()
        {
            if (rel.m_arquivo && !gravado)
                rel.m_arquivo->remove(); // nothing is left of a page cut short
            rel.m_arquivo.reset();
            rel.m_html.clear();
            rel.m_html.squeeze();
            rel.cdsComando->close();
        }
    } fim{*this};
    if (cdsComando->isEmpty())
        return false;
    // Written in place and not synced to disk: the page is read back at once by the viewer, and
    // waiting for the disk would cost a long report seconds.
    m_arquivo = std::make_unique<QFile>(r.arquivo);
    if (!m_arquivo->open(QIODevice::WriteOnly))
        throw DatabaseError(QStringLiteral("Não foi possível gravar o relatório %1: %2")
                                .arg(QDir::toNativeSeparators(r.arquivo), m_arquivo->errorString()));
    percorre(r);
    escreve(QStringLiteral("</table> "));
    escreve(QStringLiteral("</Body></Html>"));
    descarrega(true);
    m_arquivo->close();
    fim.gravado = m_arquivo->error() == QFileDevice::NoError;
    if (!fim.gravado)
        throw DatabaseError(QStringLiteral("Não foi possível gravar o relatório %1: %2")
                                .arg(QDir::toNativeSeparators(r.arquivo), m_arquivo->errorString()));
    return true;
}

bool D500REL::gravaExcel(const Relatorio &r, const QString &arquivo, QString *erroGravacao)
{
    CursorEspera cursor;
    m_modo = Modo::Planilha;
    struct Fim
    {
        D500REL &rel;
        const QString &arquivo;
        bool gravado = false;
        ~Fim()
        {
            const bool comecado = rel.m_planilha != nullptr;
            rel.m_planilha.reset();
            if (comecado && !gravado)
                QFile::remove(arquivo); // nothing is left of a workbook cut short
            rel.m_modo = Modo::Html;
            rel.cdsComando->close();
        }
    } fim{*this, arquivo};
    atualizaComando(r.sql);
    int visiveis = 0;
    for (const QString &nome : cdsComando->fieldNames())
        visiveis += exibeCampo(nome) ? 1 : 0;
    if (cdsComando->isEmpty())
        return false;
    m_planilha = std::make_unique<PlanilhaRelatorio>(arquivo, visiveis);
    percorre(r);
    QString erro;
    fim.gravado = m_planilha->salva(&erro);
    if (!fim.gravado) {
        const QString mensagem = QStringLiteral("Não foi possível gravar a planilha %1: %2")
                                     .arg(QDir::toNativeSeparators(arquivo), erro);
        if (!erroGravacao)
            throw DatabaseError(mensagem);
        *erroGravacao = mensagem;
        return false;
    }
    return true;
}

QString D500REL::arquivoExcel(const QString &titulo) const
{
    QString nome;
    for (const QChar c : titulo.simplified())
        nome += c.isLetterOrNumber() ? c : QLatin1Char('_');
    return QDir(pastaPrograma).filePath(QStringLiteral("Relatorios/") + nome + QLatin1Char('_')
                                        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"))
                                        + QStringLiteral(".xlsx"));
}

QString D500REL::toEXCEL(const Relatorio &r)
{
    const QString arquivo = arquivoExcel(r.titulo);
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    // A file that cannot be written is told like a workbook no application opens.
    QString erroGravacao;
    const bool gravado = gravaExcel(r, arquivo, &erroGravacao);
    if (!gravado && erroGravacao.isEmpty())
        return QString();
    if (!gravado || !abreArquivo(arquivo))
        D500DAT::instance()->exibeMensagem(QStringLiteral("Versão do Ms-Excel Incompatível\n")
                                               + QDir::toNativeSeparators(arquivo),
                                           TipoMensagem::Erro, CorMensagem::Vermelho);
    return arquivo;
}
