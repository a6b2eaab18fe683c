#pragma once

#include "U500REL.h"
#include "U599CAD.h"

#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// "Relatórios": the tree of the reports the user may run, one parameter page per report, the
// viewer of the page a report wrote and its printing, and the way to the goal window.
class F599REL : public F599CAD
{
    Q_OBJECT
public:
    explicit F599REL(QWidget *parent = nullptr);
    ~F599REL() override;

    QString arquivoRelatorio() const { return m_arquivo; }

    void escondeTabs();
    void apresentaRel();
    void fechaRel();
    void recarregaRel();
    // Prints the page shown; without a printer, asks for one with the print dialog.
    void WBPrintWithDialog(QPrinter *printer = nullptr);

    void treeRelatoriosDblClick();
    void btVisualizarClick() { treeRelatoriosDblClick(); }
    void btVelocimetroClick();
    void btImprimirClick();
    void SpeedButton2Click() { recarregaRel(); }
    void btresumoClick();
    void btPendenciaClick();
    void btImpressaoClick();
    void btsinteticoClick();

    QTabWidget *paginas = nullptr;
    QWidget *tbsPrincipal = nullptr;
    QWidget *tbsVisualizar = nullptr;
    QWidget *R511RSV = nullptr;
    QWidget *R511PEN = nullptr;
    QWidget *R530PDF = nullptr;
    QWidget *R516SIN = nullptr;
    QTreeWidget *treeRelatorios = nullptr;
    QTextBrowser *Browser = nullptr;
    QComboBox *DBLMESMETA = nullptr;
    QComboBox *dblmesmetsin = nullptr;
    QLineEdit *edDATINI = nullptr;
    QLineEdit *eddatfim = nullptr;
    QCheckBox *cbSomenteEstoque = nullptr;
    QLineEdit *edPedido = nullptr;
    QButtonGroup *R511RSVrgTipoSaida = nullptr;
    QButtonGroup *R511PENrgTipoSaida = nullptr;
    QButtonGroup *R530PDFrgTipoSaida = nullptr;
    QButtonGroup *R516SINrgTipoSaida = nullptr;

private:
    QWidget *paginaPrincipal();
    QWidget *paginaVisualizar();
    QWidget *paginaRelatorio(const QString &nome, const QString &titulo, QLayout *parametros,
                             QButtonGroup **tipoSaida, const QString &dica, void (F599REL::*executa)());
    QWidget *pagina(const QString &nome) const;
    void mostraPagina(QWidget *pagina);
    void preparaPagina(QWidget *pagina);
    void carregaMeses(QComboBox *lista);
    void executa(D500REL::Relatorio relatorio, QButtonGroup *tipoSaida);

    QString m_arquivo;
    QWidget *m_paginaRelatorio = nullptr;
};
