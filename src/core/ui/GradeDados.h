#pragma once

#include <QIdentityProxyModel>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <QVariant>

#include <functional>

class TClientDataSetPlus;

// A read-only grid over a dataset: the chosen columns in their order with their captions and
// display masks, whole-row selection, the dataset's current row following the grid, the
// column-title sort (unless the window sorts by itself), and the window's colours and fonts per
// cell.
class GradeDados : public QTableView
{
    Q_OBJECT
public:
    struct Coluna
    {
        QString campo;
        QString titulo;
        QString formato = {}; // display mask ("###,###,##0.00"); empty: the field's own
    };
    // Role data of one cell (font, colours, decoration, or a replaced display text); an
    // invalid value keeps the default.
    using Estilo = std::function<QVariant(int linha, const QString &campo, int role)>;
    // A background (QColor) that stays even on the selected row.
    static constexpr int FundoFixoRole = Qt::UserRole + 1;

    GradeDados(TClientDataSetPlus &dataSet, const QList<Coluna> &colunas, QWidget *parent = nullptr);

    void setEstilo(Estilo estilo) { m_estilo = std::move(estilo); }
    // Off where the window's own title handler sorts, or where the row order is the listing's.
    void setOrdenaPeloTitulo(bool ordena) { m_ordenaPeloTitulo = ordena; }
    // A value of another field of the grid's row (the dataset's stored value).
    QVariant valor(int linha, const QString &campo) const;
    TClientDataSetPlus &dataSet() const { return m_dataSet; }
    // Clicks a column title as the user would (the sort of the dataset).
    void clicaTitulo(const QString &campo);

signals:
    void duploClique();

private:
    class Modelo;
    void aplicaColunas();

    TClientDataSetPlus &m_dataSet;
    QList<Coluna> m_colunas;
    Estilo m_estilo;
    Modelo *m_modelo;
    bool m_ordenaPeloTitulo = true;
};
