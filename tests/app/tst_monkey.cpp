#include "D500DAT.h"
#include "Decimal.h"
#include "Encerramento.h"
#include "FirebirdConnection.h"
#include "JanelasDoPrograma.h"
#include "ModuleFrame.h"
#include "PastaDemo.h"
#include "U500CAD.h"
#include "U500REL.h"
#include "U500LOG.h"
#include "U500PRI.h"
#include "monkey/MonkeyDriver.h"
#include "monkey/RandomAnswerer.h"
#include "monkey/Watchdog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

// Random input in every module window, on a fresh copy of the demonstration data, logged in as
// MARCOS: the program never crashes or hangs, never shows the engine's error text, leaves a
// database that passes the engine's full validation, and every order it saved has the totals
// its items add up to. KORVEX_MONKEY_SEED, KORVEX_MONKEY_EVENTS (per window) and
// KORVEX_MONKEY_HANG (seconds) set the run, KORVEX_MONKEY_TRACE=1 prints every event; scripts/monkey runs long sessions.
class TstMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void janela_data();
    void janela();
    void cleanupTestCase();

private:
    static quint64 envNumber(const char *name, quint64 fallback);

    quint64 m_seed = 0;
    int m_events = 0;
    bool m_trace = false; // every event on stderr, for a replay
    std::unique_ptr<Watchdog> m_watchdog;
    qint64 m_totalEvents = 0;
    qint64 m_totalMs = 0;
};

namespace {

QtMessageHandler s_registro = nullptr;

// "CODEMP/CODPDF/CODINT" of every order whose stored TOTPDF and TOTFLX are not what its items
// add up to (VLRTOT and USOFLX rounded to cents as the save rounds them), and of every group
// of items without its order; the value is the finding.
QMap<QString, QString> pedidosInconsistentes(FirebirdConnection &conexao, int *gravados = nullptr)
{
    struct Somas
    {
        Decimal total, flex;
        QString totPdf, totFlx;
        bool cabecalho = false;
    };
    QMap<QString, Somas> pedidos;
    const auto chave = [](const QSqlQuery &q) {
        return q.value(0).toString() + u'/' + q.value(1).toString() + u'/' + q.value(2).toString();
    };
    QSqlQuery q = conexao.query();
    q.exec(QStringLiteral("SELECT CODEMP, CODPDF, CODINT, CAST(TOTPDF AS VARCHAR(32)), CAST(TOTFLX AS VARCHAR(32)) "
                          "FROM F530PDF"));
    while (q.next()) {
        Somas &s = pedidos[chave(q)];
        s.cabecalho = true;
        s.totPdf = q.value(3).toString();
        s.totFlx = q.value(4).toString();
    }
    q.exec(QStringLiteral("SELECT CODEMP, CODPDF, CODINT, CAST(VLRTOT AS VARCHAR(32)), CAST(USOFLX AS VARCHAR(32)) "
                          "FROM F530IPF"));
    while (q.next()) {
        Somas &s = pedidos[chave(q)];
        s.total = s.total + Decimal::fromText(q.value(3).toString(), 3);
        s.flex = s.flex + Decimal::fromText(q.value(4).toString(), 2);
    }
    if (gravados)
        *gravados = int(std::count_if(pedidos.cbegin(), pedidos.cend(), [](const Somas &s) { return s.cabecalho; }));
    QMap<QString, QString> achados;
    for (auto it = pedidos.cbegin(); it != pedidos.cend(); ++it) {
        const Somas &s = it.value();
        if (!s.cabecalho)
            achados.insert(it.key(), QStringLiteral("items without their order"));
        else if (Decimal::fromText(s.totPdf, 2) != s.total.rounded(2) || Decimal::fromText(s.totFlx, 2) != s.flex.rounded(2))
            achados.insert(it.key(), QStringLiteral("TOTPDF %1 TOTFLX %2, items add up to %3 and %4")
                                         .arg(s.totPdf, s.totFlx, s.total.toString(), s.flex.toString()));
    }
    return achados;
}

// The output of the engine's full validation of the file; empty when it found nothing.
QString validacaoCompleta(const QString &arquivo)
{
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), arquivo, QStringLiteral("-user"),
                                        QStringLiteral("SYSDBA"), QStringLiteral("-password"), QStringLiteral("masterkey")});
    if (!gfix.waitForFinished(120000))
        return QStringLiteral("gfix did not finish");
    const QString saida = QString::fromLocal8Bit(gfix.readAll()).trimmed();
    if (gfix.exitCode() != 0 && saida.isEmpty())
        return QStringLiteral("gfix exit code %1").arg(gfix.exitCode());
    return saida;
}

// A loopback port nothing listens on: "Atualizar" fails at once instead of reaching a server
// another program may be running.
QString portaFechada()
{
    QTcpServer livre;
    livre.listen(QHostAddress::LocalHost, 0);
    return QString::number(livre.serverPort());
}

} // namespace

quint64 TstMonkey::envNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

void TstMonkey::initTestCase()
{
    m_seed = envNumber("KORVEX_MONKEY_SEED", 20261209);
    m_events = int(envNumber("KORVEX_MONKEY_EVENTS", 1000));
    m_trace = envNumber("KORVEX_MONKEY_TRACE", 0) != 0;
    m_watchdog = std::make_unique<Watchdog>(int(envNumber("KORVEX_MONKEY_HANG", 60)));
    registraJanelasDoPrograma();
    // Keys some widget ignores and drop-downs the offscreen platform cannot raise: a warning for
    // each would drown the report.
    s_registro = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (!text.contains(QLatin1String("event not accepted by receiving widget"))
            && !text.startsWith(QLatin1String("This plugin does not support")))
            s_registro(type, context, text);
    });
    qInfo("monkey seed %llu, %d events per window", m_seed, m_events);
}

void TstMonkey::janela_data()
{
    QTest::addColumn<QString>("classe");
    const QStringList classes = ModuleFrame::registeredModuleWindows();
    for (const QString &classe : classes)
        QTest::newRow(qPrintable(classe)) << classe;
}

// Guards against crashes, hangs, engine errors shown for typed input, a damaged database file
// and orders saved with totals other than their items'.
void TstMonkey::janela()
{
    QFETCH(QString, classe);
    quint64 seed = m_seed;
    for (const QChar c : classe) // each window has a stream of its own, replayable alone
        seed = (seed ^ c.unicode()) * 1099511628211ULL;

    QTemporaryDir pasta;
    QString erro;
    QVERIFY2(PastaDemo::copia(QDate::currentDate(), pasta.path(), &erro), qPrintable(erro));
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(pasta.path());
    // A failed check below must not leave the next window in this folder or with these hooks.
    const auto restaura = qScopeGuard([&anterior] {
        F500PRI::restauraGanchos();
        Encerramento::setGancho({});
        QDir::setCurrent(anterior);
    });
    const QString arquivo = pasta.filePath(QStringLiteral("ORVALIS.FDB"));

    QString contexto;
    RandomAnswerer respostas(~seed, [&contexto] { return contexto; });
    bool encerrado = false;
    Encerramento::reinicia();
    Encerramento::setGancho([&encerrado] { encerrado = true; });
    auto dat = std::make_unique<D500DAT>();
    dat->setMessagePresenter(&respostas);
    auto cad = std::make_unique<D500CAD>(dat->cnxFirebird);
    auto rel = std::make_unique<D500REL>(); // the three data modules, as the program creates them
    D500CAD *c = cad.get();
    F500PRI::ganchos().login = [](QWidget *parent) {
        F500LOG login(parent);
        const auto edits = login.findChildren<QLineEdit *>();
        edits.at(0)->setText(QStringLiteral("marcos"));
        edits.at(1)->setText(QStringLiteral("venda123"));
        login.BitBtn1Click();
        return login.result() == QDialog::Accepted;
    };
    F500PRI::ganchos().mensagensNovas = [c](const QString &codEmp) { return c->existemMensagensNovas(codEmp); };
    F500PRI::ganchos().limpaClientePedido = [c] {
        c->codCliPedido.clear();
        c->codNovPedido.clear();
    };
    auto pri = std::make_unique<F500PRI>();
    pri->show();
    QCoreApplication::sendPostedEvents(pri.get(), QEvent::MetaCall);
    QVERIFY(QTest::qWaitForWindowActive(pri.get()));
    QCOMPARE(dat->sessao.CODVEN, QStringLiteral("12"));
    dat->sessao.portaServidor = portaFechada();
    int pedidosAntes = 0;
    const QMap<QString, QString> antes = pedidosInconsistentes(dat->cnxFirebird, &pedidosAntes);
    Watchdog::installCrashReport();

    QMdiArea *area = pri->findChild<QMdiArea *>(QStringLiteral("mdiArea"));
    QVERIFY(area);
    const auto frente = [area]() -> QWidget * {
        if (QMdiSubWindow *ativa = area->activeSubWindow())
            return ativa;
        const QList<QMdiSubWindow *> abertas = area->subWindowList(QMdiArea::StackingOrder);
        return abertas.isEmpty() ? nullptr : abertas.last();
    };
    F500PRI *principal = pri.get();
    const auto reabre = [principal, classe] { principal->frame()->abreJanela(classe); };
    const QByteArray cabecalho = QStringLiteral("seed %1, window %2, event ").arg(m_seed).arg(classe).toUtf8();
    MonkeyDriver macaco(seed, frente, reabre, [&](int evento, const QString &acao) {
        contexto = QStringLiteral("event %1: %2").arg(evento).arg(acao);
        if (m_trace)
            fprintf(stderr, "%s\n", qPrintable(contexto));
        m_watchdog->progress(cabecalho + QByteArray::number(evento) + " (" + acao.left(300).toUtf8() + ')');
    });
    QVERIFY2(principal->frame()->abreJanela(classe), qPrintable(classe));

    QElapsedTimer relogio;
    relogio.start();
    macaco.run(m_events);
    const qint64 ms = qMax<qint64>(1, relogio.elapsed());
    m_totalEvents += macaco.event();
    m_totalMs += ms;
    qInfo("%s: %d events in %.1f s, %.0f events/s, %d messages answered", qPrintable(classe), macaco.event(),
          ms / 1000.0, macaco.event() * 1000.0 / ms, respostas.shown);

    m_watchdog->progress(cabecalho + "closing");
    const QList<QMdiSubWindow *> abertas = area->subWindowList();
    for (QMdiSubWindow *janela : abertas)
        janela->close();
    pri.reset();
    rel.reset();
    cad.reset();
    dat->cnxFirebird.close();
    dat.reset();

    QString achados;
    for (const RandomAnswerer::Finding &f : std::as_const(respostas.findings))
        achados += QStringLiteral("\n  engine text shown at %1:\n    %2").arg(f.context, QString(f.text).replace(u'\n', u' '));
    if (encerrado)
        achados += QStringLiteral("\n  the program asked to end");
    const QString validacao = validacaoCompleta(arquivo);
    if (!validacao.isEmpty())
        achados += QStringLiteral("\n  gfix -v -full: ") + validacao;
    {
        FirebirdConnection conferencia(QStringLiteral("conferencia"));
        conferencia.setDatabaseName(arquivo);
        conferencia.open();
        int pedidosDepois = 0;
        const QMap<QString, QString> depois = pedidosInconsistentes(conferencia, &pedidosDepois);
        qInfo("%s: %d orders stored before, %d after", qPrintable(classe), pedidosAntes, pedidosDepois);
        for (auto it = depois.cbegin(); it != depois.cend(); ++it)
            if (!antes.contains(it.key()))
                achados += QStringLiteral("\n  order %1: %2").arg(it.key(), it.value());
        conferencia.close();
    }
    if (!achados.isEmpty())
        fprintf(stderr, "monkey failure: seed %llu, window %s, replay with scripts/monkey %llu %d %s%s\n",
                static_cast<unsigned long long>(m_seed), qPrintable(classe), static_cast<unsigned long long>(m_seed),
                m_events, qPrintable(classe), qPrintable(achados));
    QVERIFY2(achados.isEmpty(), qPrintable(classe + achados));
}

void TstMonkey::cleanupTestCase()
{
    if (m_totalMs > 0)
        qInfo("monkey total: %lld events in %.1f s, %.0f events/s", m_totalEvents, m_totalMs / 1000.0,
              m_totalEvents * 1000.0 / m_totalMs);
    m_watchdog.reset();
}

QTEST_MAIN(TstMonkey)
#include "tst_monkey.moc"
