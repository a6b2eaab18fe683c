#pragma once

#include "SearchStatement.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableView;
class TClientDataSetPlus;

// The search window "Pesquisa": finds one row of a table by code or by part of its
// description and returns the chosen row's code and description.
class F599PSQ : public QDialog
{
    Q_OBJECT
public:
    // table: the FROM; columns: code expression, description expression, further shown ones;
    // trailingCondition: SQL appended after the window's own conditions, beginning with AND.
    F599PSQ(const QString &table, const QStringList &columns, const QString &trailingCondition,
            QWidget *parent = nullptr);
    ~F599PSQ() override;

    // Shows the window modally; code and description receive the chosen row's values (empty
    // when nothing was chosen). True when a code was chosen.
    static bool abrePesquisa(const QString &table, const QStringList &columns, const QString &trailingCondition,
                             QString &code, QString &description, QWidget *parent = nullptr);

    QString codigo() const { return m_codigo; }
    QString descricao() const { return m_descricao; }

    TClientDataSetPlus *cdsPesquisa = nullptr;

    void btPesquisarClick();
    void btSelecionarClick();
    void btCancelarClick();
    void dbgPesquisaTitleClick(int column);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void montaTela();
    void edtDescricaoChange(const QString &text);

    SearchStatement m_statement;
    QString m_codigo;
    QString m_descricao;
    bool m_mostrada = false;
    bool m_codigoNumerico = false; // the code column holds numbers: typed letters are refused

    QLineEdit *edtCodigo = nullptr;
    QLineEdit *edtDescricao = nullptr;
    QPushButton *btPesquisar = nullptr;
    QTableView *dbgPesquisa = nullptr;
    QPushButton *btSelecionar = nullptr;
    QPushButton *btCancelar = nullptr;
};
