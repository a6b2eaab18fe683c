#include "DatabaseError.h"
#include "DemoDataGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

// korvex-demodata --out DIR [--scale large] [--seed N] [--login supervisor]
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvex-demodata"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Cria ORVALIS.FDB e SisCon.ini de demonstração na pasta indicada."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Pasta de destino."), QStringLiteral("DIR"));
    const QCommandLineOption scale(QStringLiteral("scale"), QStringLiteral("normal (padrão) ou large."),
                                   QStringLiteral("ESCALA"), QStringLiteral("normal"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Semente dos dados (padrão 1)."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption today(QStringLiteral("today"),
                                   QStringLiteral("Dia de referência AAAA-MM-DD (padrão: hoje)."),
                                   QStringLiteral("DATA"));
    const QCommandLineOption login(QStringLiteral("login"),
                                   QStringLiteral("vendedor (padrão, MARCOS) ou supervisor (ROBERTO)."),
                                   QStringLiteral("LOGIN"), QStringLiteral("vendedor"));
    parser.addOptions({out, scale, seed, today, login});
    parser.process(app);

    QTextStream err(stderr);
    QTextStream outStream(stdout);
    if (!parser.isSet(out)) {
        err << "Informe a pasta de destino com --out DIR.\n";
        return 2;
    }
    const QString scaleName = parser.value(scale);
    if (scaleName != u"normal" && scaleName != u"large") {
        err << "Escala desconhecida: " << scaleName << "\n";
        return 2;
    }
    bool seedOk = false;
    const quint64 seedValue = parser.value(seed).toULongLong(&seedOk);
    if (!seedOk) {
        err << "Semente inválida: " << parser.value(seed) << "\n";
        return 2;
    }

    const QString loginName = parser.value(login);
    if (loginName != u"vendedor" && loginName != u"supervisor") {
        err << "Login desconhecido: " << loginName << "\n";
        return 2;
    }

    DemoDataGenerator generator(parser.value(out),
                                scaleName == u"large" ? DemoScale::largeScale() : DemoScale::normal(), seedValue);
    generator.setSupervisorLogin(loginName == u"supervisor");
    if (parser.isSet(today)) {
        const QDate day = QDate::fromString(parser.value(today), Qt::ISODate);
        if (!day.isValid()) {
            err << "Data inválida: " << parser.value(today) << "\n";
            return 2;
        }
        // Today keeps the current time; another day gets a fixed one, so its rows repeat.
        generator.setToday(day, day == QDate::currentDate() ? QTime::currentTime() : QTime(9, 0));
    }

    QElapsedTimer timer;
    timer.start();
    try {
        const qint64 rows = generator.run();
        outStream << "Banco de demonstração criado em " << parser.value(out) << ": " << rows << " linhas em "
                  << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s ("
                  << generator.phases().join(QStringLiteral(", ")) << ").\n"
                  << "Usuário " << generator.loginName() << ", senha " << generator.loginPassword()
                  << ".\n";
    } catch (const DatabaseError &e) {
        err << "Falha: " << e.message() << "\n";
        return 1;
    }
    return 0;
}
