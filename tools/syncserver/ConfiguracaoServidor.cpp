#include "ConfiguracaoServidor.h"

#include "BaseCentral.h"

#include <QDir>
#include <QFile>

namespace {

const QList<ConfiguracaoServidor::Nivel> kNiveis{ConfiguracaoServidor::Nivel::Erro, ConfiguracaoServidor::Nivel::Aviso,
                                                 ConfiguracaoServidor::Nivel::Info,
                                                 ConfiguracaoServidor::Nivel::Depuracao};

} // namespace

QString ConfiguracaoServidor::nomeNivel(Nivel nivel)
{
    switch (nivel) {
    case Nivel::Erro:
        return QStringLiteral("erro");
    case Nivel::Aviso:
        return QStringLiteral("aviso");
    case Nivel::Info:
        return QStringLiteral("info");
    case Nivel::Depuracao:
        return QStringLiteral("depuracao");
    }
    return {};
}

ConfiguracaoServidor ConfiguracaoServidor::carrega(const QString &arquivo)
{
    QFile file(arquivo);
    if (!file.open(QIODevice::ReadOnly)) {
        ConfiguracaoServidor config;
        config.erros << QStringLiteral("Não foi possível ler %1: %2.").arg(arquivo, file.errorString());
        return config;
    }
    return interpreta(QString::fromUtf8(file.readAll()), arquivo);
}

ConfiguracaoServidor ConfiguracaoServidor::interpreta(const QString &texto, const QString &origem)
{
    ConfiguracaoServidor config;
    const QStringList linhas = texto.split(u'\n');
    for (qsizetype numero = 1; numero <= linhas.size(); ++numero) {
        const QString linha = linhas.at(numero - 1).trimmed();
        if (linha.isEmpty() || linha.startsWith(u'#'))
            continue;
        const auto erro = [&](const QString &motivo) {
            config.erros << QStringLiteral("%1, linha %2: %3").arg(origem).arg(numero).arg(motivo);
        };
        const qsizetype igual = linha.indexOf(u'=');
        if (igual <= 0) {
            erro(QStringLiteral("esperado \"chave = valor\", encontrado \"%1\".").arg(linha));
            continue;
        }
        const QString chave = linha.left(igual).trimmed().toLower();
        const QString valor = linha.mid(igual + 1).trimmed();
        if (chave == QLatin1String("porta")) {
            bool ok = false;
            const uint porta = valor.toUInt(&ok);
            if (!ok || porta == 0 || porta > 65535)
                erro(QStringLiteral("porta inválida \"%1\" (de 1 a 65535).").arg(valor));
            else
                config.porta = static_cast<quint16>(porta);
        } else if (chave == QLatin1String("endereco")) {
            const QHostAddress endereco(valor);
            if (endereco.isNull())
                erro(QStringLiteral("endereço de escuta inválido \"%1\" (por exemplo 0.0.0.0 ou 127.0.0.1).").arg(valor));
            else
                config.endereco = endereco;
        } else if (chave == QLatin1String("pasta")) {
            if (!QDir::isAbsolutePath(valor))
                erro(QStringLiteral("a pasta deve ser um caminho absoluto, não \"%1\".").arg(valor));
            else
                config.pasta = QDir::cleanPath(valor);
        } else if (chave == QLatin1String("base")) {
            config.base = valor;
            if (!config.baseRemota() && !QDir::isAbsolutePath(valor)) {
                erro(QStringLiteral("a base deve ser um caminho absoluto ou servidor:caminho, não \"%1\".").arg(valor));
                config.base.clear();
            }
        } else if (chave == QLatin1String("usuario_base")) {
            config.usuarioBase = valor;
        } else if (chave == QLatin1String("senha_base")) {
            config.senhaBase = valor;
        } else if (chave == QLatin1String("esquema")) {
            config.esquema = valor;
        } else if (chave == QLatin1String("registro")) {
            bool achou = false;
            for (const Nivel nivel : kNiveis) {
                if (nomeNivel(nivel) == valor.toLower()) {
                    config.nivel = nivel;
                    achou = true;
                }
            }
            if (!achou)
                erro(QStringLiteral("nível de registro inválido \"%1\" (erro, aviso, info ou depuracao).").arg(valor));
        } else {
            erro(QStringLiteral("chave desconhecida \"%1\".").arg(chave));
        }
    }
    return config;
}

QString ConfiguracaoServidor::arquivoBase() const
{
    return base.isEmpty() ? QDir(pasta).filePath(BaseCentral::nomeArquivo()) : base;
}

bool ConfiguracaoServidor::baseRemota() const
{
    // Firebird's own form: "host:/path" or "host/port:/path"; a local path starts with "/".
    const QString nome = arquivoBase();
    return !nome.startsWith(u'/') && nome.indexOf(u':') > 0;
}
