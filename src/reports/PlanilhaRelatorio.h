#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// The workbook of a report: one worksheet laid out row by row as the report engine walks its
// rows (title, column header, group headers, detail rows, total rows), saved as an .xlsx file.
// Column widths are fitted to the texts written, since the library cannot measure them.
class PlanilhaRelatorio
{
public:
    // One detail cell: a number with its decimals (decimais >= 0) or a text (decimais < 0).
    struct Celula
    {
        QString texto;  // the text, or the number in statement form ("1234.5"); empty for null
        int decimais = -1;
    };

    // numColunas: the visible columns, the span of the merged rows.
    PlanilhaRelatorio(const QString &arquivo, int numColunas);
    ~PlanilhaRelatorio();
    PlanilhaRelatorio(const PlanilhaRelatorio &) = delete;
    PlanilhaRelatorio &operator=(const PlanilhaRelatorio &) = delete;

    void titulo(const QString &texto);                  // merged, bold Arial 17, centred; a blank row after
    void cabecalhoColunas(const QStringList &nomes);    // blue-violet, bold Arial 10, centred
    void cabecalhoQuebra(const QString &texto);         // merged, blue-violet, bold Arial 10, left
    void linha(const QVector<Celula> &celulas);         // Arial 8; numbers with their decimals
    void total(const QString &texto);                   // merged, green, bold Arial 10, right

    // Sets the column widths and writes the file. False with 'erro' filled when it cannot.
    bool salva(QString *erro);

private:
    struct Dados;
    std::unique_ptr<Dados> d;
};
