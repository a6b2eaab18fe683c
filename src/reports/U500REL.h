#pragma once

#include "FieldDef.h"
#include "NumeroRelatorio.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <functional>
#include <memory>

class PlanilhaRelatorio;
class QFile;
class TClientDataSetPlus;

// The data module of the reports and their engine: one query becomes an HTML page (written
// byte for byte as the viewer and the printed page expect) or a workbook, with groups opened
// by break columns and partial and general totals. Column aliases carry the layout: "_OCULT"
// hides a column, "#(n)#" marks a number shown with n decimals.
class D500REL : public QObject
{
    Q_OBJECT
public:
    // A report: its query and how to lay it out.
    struct Relatorio
    {
        QString sql;
        QString titulo;
        QStringList quebras{QString()}; // one empty name: no groups
        bool parciais = false;
        QStringList totalizadores;
        QString arquivo; // the HTML file
    };

    explicit D500REL(QObject *parent = nullptr);
    ~D500REL() override;

    // The single instance (set by the constructor).
    static D500REL *instance();

    // Writes the HTML file; false (and no file, an older one deleted) when the query has no rows.
    bool toHTML(const Relatorio &relatorio);
    // Writes the workbook to 'arquivo'. False when the query has no rows (nothing written). When
    // the file cannot be written: false with erroGravacao filled, or DatabaseError without it.
    bool gravaExcel(const Relatorio &relatorio, const QString &arquivo, QString *erroGravacao = nullptr);
    // The workbook for the seller: saved in the reports folder of the program folder under a name
    // that tells report and time, then opened with the desktop's application for it. When either
    // fails, "Versão do Ms-Excel Incompatível" and the path. Returns the file, empty when the
    // query had no rows.
    QString toEXCEL(const Relatorio &relatorio);

    // The program folder (the working folder by default) and the file name toEXCEL uses.
    QString pastaPrograma;
    QString arquivoExcel(const QString &titulo) const;
    // Opens a file with the desktop's default application; true when one took it.
    std::function<bool(const QString &arquivo)> abreArquivo;

    TClientDataSetPlus *cdsComando = nullptr;

    void atualizaComando(const QString &sql);
    void geraCabecalhoRel(const QString &titulo);
    void geraCabecalhoColunas();
    void geraCabecalhoQuebra(const QStringList &quebras, bool parciais, const QStringList &totalizadores);
    void geraTotais(const QString &tipo, const QVector<NumeroRelatorio> &totais, const QStringList &totalizadores);
    int getNumCampos() const;
    static int isTotalizador(const QString &campo, const QStringList &totalizadores);
    int isQuebra(const QStringList &quebras);
    static bool exibeCampo(const QString &campo);
    // Display form while an HTML page is written, statement form for the worksheet.
    QString FormataValor(const QString &campo, const QString &valor) const;
    static QString TrataCampo(const QString &campo);
    void zerarTotalizadores(bool todos);
    void zerarQuebras();

    // The decimals of a "#(n)#" column, -1 for any other.
    static int decimaisCampo(const QString &campo);

private:
    enum class Modo { Html, Planilha };
    // Walks the rows of the open query; false when it has none.
    bool percorre(const Relatorio &relatorio);
    void escreve(const QString &linha);
    QString textoCampo(int campo) const;
    std::optional<NumeroRelatorio> numeroCampo(int campo) const;
    QString valorExibido(int campo) const; // FormataValor of the column's value
    void descarrega(bool fim);
    bool statementForm() const { return m_modo == Modo::Planilha; }

    static D500REL *s_instance;

    Modo m_modo = Modo::Html;
    QString m_html;
    std::unique_ptr<PlanilhaRelatorio> m_planilha;
    QVector<NumeroRelatorio> m_totaisGerais;
    QVector<NumeroRelatorio> m_totaisParciais;
    QStringList m_ultimasQuebras;
    QVector<int> m_camposQuebra;
    QVariantList m_valoresQuebra;
    bool m_grupoAberto = false;
    // Per column of the query, computed once per run.
    std::unique_ptr<QFile> m_arquivo; // the page being written, in pieces
    QVector<bool> m_visivel;
    QVector<FieldKind> m_tipos;
    QVector<int> m_escalas;
    QVector<int> m_decimais;
    QVector<int> m_totalizador;
    QStringList m_nomes;
};
