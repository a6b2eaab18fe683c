#include "PlanilhaRelatorio.h"

#include <QFile>
#include <QHash>

#include <xlsxwriter.h>

#include <algorithm>

namespace {

constexpr lxw_color_t kCorCabecalho = 0x8080FF; // RGB(128,128,255)
constexpr lxw_color_t kCorTotal = 0xA2CD5A;     // RGB(162,205,90)

// Widths in the sheet's unit (one digit of the default font) for the fonts used here.
constexpr double kLarguraCabecalho = 1.1; // bold Arial 10
constexpr double kLarguraDetalhe = 0.85;  // Arial 8
constexpr double kMargem = 1.5;
constexpr double kLarguraMaxima = 100;

} // namespace

struct PlanilhaRelatorio::Dados
{
    lxw_workbook *livro = nullptr;
    lxw_worksheet *folha = nullptr;
    lxw_format *titulo = nullptr;
    lxw_format *cabecalho = nullptr;
    lxw_format *quebra = nullptr;
    lxw_format *detalhe = nullptr;
    lxw_format *total = nullptr;
    QHash<int, lxw_format *> numeros; // by decimals
    QVector<double> larguras;
    int colunas = 1;
    lxw_row_t linha = 0;
    lxw_error erro = LXW_NO_ERROR;

    lxw_format *fonte(const char *nome, double tamanho, bool negrito)
    {
        lxw_format *f = workbook_add_format(livro);
        format_set_font_name(f, nome);
        format_set_font_size(f, tamanho);
        if (negrito)
            format_set_bold(f);
        return f;
    }

    lxw_format *formatoNumero(int decimais)
    {
        auto it = numeros.constFind(decimais);
        if (it != numeros.constEnd())
            return it.value();
        lxw_format *f = fonte("Arial", 8, false);
        const QByteArray mascara = decimais > 0 ? "0." + QByteArray(decimais, '0') : QByteArray("0");
        format_set_num_format(f, mascara.constData());
        numeros.insert(decimais, f);
        return f;
    }

    void guarda(lxw_error e)
    {
        if (erro == LXW_NO_ERROR && e != LXW_NO_ERROR)
            erro = e;
    }

    void mede(int coluna, qsizetype caracteres, double fator)
    {
        larguras[coluna] = std::max(larguras[coluna], double(caracteres) * fator);
    }

    // A row spanning every visible column; a report of one column has nothing to merge.
    void linhaUnida(const QString &texto, lxw_format *formato)
    {
        const QByteArray utf8 = texto.toUtf8();
        if (colunas > 1)
            guarda(worksheet_merge_range(folha, linha, 0, linha, lxw_col_t(colunas - 1), utf8.constData(), formato));
        else
            guarda(worksheet_write_string(folha, linha, 0, utf8.constData(), formato));
        ++linha;
    }
};

PlanilhaRelatorio::PlanilhaRelatorio(const QString &arquivo, int numColunas)
    : d(std::make_unique<Dados>())
{
    d->colunas = std::clamp(numColunas, 1, int(LXW_COL_MAX));
    d->larguras.fill(0, d->colunas);
    d->livro = workbook_new(QFile::encodeName(arquivo).constData());
    if (!d->livro) {
        d->erro = LXW_ERROR_CREATING_TMPFILE;
        return;
    }
    d->folha = workbook_add_worksheet(d->livro, nullptr);

    d->titulo = d->fonte("Arial", 17, true);
    format_set_align(d->titulo, LXW_ALIGN_CENTER);
    d->cabecalho = d->fonte("Arial", 10, true);
    format_set_align(d->cabecalho, LXW_ALIGN_CENTER);
    format_set_bg_color(d->cabecalho, kCorCabecalho);
    d->quebra = d->fonte("Arial", 10, true);
    format_set_align(d->quebra, LXW_ALIGN_LEFT);
    format_set_bg_color(d->quebra, kCorCabecalho);
    d->detalhe = d->fonte("Arial", 8, false);
    d->total = d->fonte("Arial", 10, true);
    format_set_align(d->total, LXW_ALIGN_RIGHT);
    format_set_bg_color(d->total, kCorTotal);
}

PlanilhaRelatorio::~PlanilhaRelatorio()
{
    if (d->livro) {
        // Not saved: closing is the library's only way to free what it holds; the file it
        // leaves is removed by the caller.
        workbook_close(d->livro);
    }
}

void PlanilhaRelatorio::titulo(const QString &texto)
{
    if (!d->folha)
        return;
    d->linhaUnida(texto, d->titulo);
    ++d->linha;
}

void PlanilhaRelatorio::cabecalhoColunas(const QStringList &nomes)
{
    if (!d->folha)
        return;
    for (int k = 0; k < nomes.size() && k < d->colunas; ++k) {
        d->guarda(worksheet_write_string(d->folha, d->linha, lxw_col_t(k), nomes.at(k).toUtf8().constData(),
                                         d->cabecalho));
        d->mede(k, nomes.at(k).size(), kLarguraCabecalho);
    }
    ++d->linha;
}

void PlanilhaRelatorio::cabecalhoQuebra(const QString &texto)
{
    if (d->folha)
        d->linhaUnida(texto, d->quebra);
}

void PlanilhaRelatorio::linha(const QVector<Celula> &celulas)
{
    if (!d->folha)
        return;
    for (int k = 0; k < celulas.size() && k < d->colunas; ++k) {
        const Celula &c = celulas.at(k);
        if (c.texto.isEmpty())
            continue;
        bool numero = false;
        const double valor = c.decimais >= 0 ? c.texto.toDouble(&numero) : 0.0;
        if (numero) {
            d->guarda(worksheet_write_number(d->folha, d->linha, lxw_col_t(k), valor, d->formatoNumero(c.decimais)));
            const qsizetype inteiros = c.texto.indexOf(QLatin1Char('.'));
            d->mede(k, (inteiros < 0 ? c.texto.size() : inteiros) + 1 + c.decimais, kLarguraDetalhe);
        } else {
            d->guarda(worksheet_write_string(d->folha, d->linha, lxw_col_t(k), c.texto.toUtf8().constData(),
                                             d->detalhe));
            d->mede(k, c.texto.size(), kLarguraDetalhe);
        }
    }
    ++d->linha;
}

void PlanilhaRelatorio::total(const QString &texto)
{
    if (d->folha)
        d->linhaUnida(texto, d->total);
}

bool PlanilhaRelatorio::salva(QString *erro)
{
    if (!d->livro) {
        if (erro)
            *erro = QString::fromUtf8(lxw_strerror(d->erro));
        return false;
    }
    for (int k = 0; k < d->colunas; ++k)
        worksheet_set_column(d->folha, lxw_col_t(k), lxw_col_t(k),
                             std::min(kLarguraMaxima, d->larguras.at(k) + kMargem), nullptr);
    lxw_error e = workbook_close(d->livro);
    d->livro = nullptr;
    if (e == LXW_NO_ERROR)
        e = d->erro;
    if (e != LXW_NO_ERROR && erro)
        *erro = QString::fromUtf8(lxw_strerror(e));
    return e == LXW_NO_ERROR;
}
