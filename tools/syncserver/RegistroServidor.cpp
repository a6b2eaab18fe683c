#include "RegistroServidor.h"

#include <QDateTime>

#include <cstdio>

RegistroServidor::RegistroServidor(Nivel minimo, bool diario)
    : m_minimo(minimo)
    , m_diario(diario)
{
}

bool RegistroServidor::saidaNoDiario()
{
    // systemd names the stream it connected to the service's output.
    return qEnvironmentVariableIsSet("JOURNAL_STREAM");
}

void RegistroServidor::registra(Nivel nivel, const QString &texto) const
{
    if (nivel > m_minimo)
        return;
    std::fputs(formata(nivel, texto, m_diario).constData(), stdout);
    std::fflush(stdout);
}

RegistroServidor::Nivel RegistroServidor::nivelDoDialogo(const QString &linha)
{
    if (linha.startsWith(QLatin1String("ERRO"), Qt::CaseInsensitive) || linha.startsWith(QLatin1String("Falha")))
        return Nivel::Erro;
    for (const char *aviso : {"recusad", "inválid", "antes do fim"}) {
        if (linha.contains(QString::fromUtf8(aviso), Qt::CaseInsensitive))
            return Nivel::Aviso;
    }
    // The token-by-token trace of a dialogue is detail; its milestones are information.
    if (linha.startsWith(QLatin1String("Saudação")) || linha.startsWith(QLatin1String("Conexão aceita")))
        return Nivel::Depuracao;
    return Nivel::Info;
}

QByteArray RegistroServidor::formata(Nivel nivel, const QString &texto, bool diario)
{
    // One event, one line: a line break inside a message would start a line of no level.
    QString linha = texto;
    linha.replace(u'\n', u' ');
    linha.remove(u'\r');
    if (diario) {
        static const char *const prioridades[] = {"<3>", "<4>", "<6>", "<7>"};
        return QByteArray(prioridades[static_cast<int>(nivel)]) + linha.toUtf8() + '\n';
    }
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")).toUtf8() + linha.toUtf8() + '\n';
}
