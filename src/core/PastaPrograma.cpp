#include "PastaPrograma.h"

#include "ConfiguracaoSistema.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

const QString kBase = QStringLiteral("ORVALIS.FDB");
const QString kBaseAntiga = QStringLiteral("ORVALIS.OLD");

QString pastaDadosUsuario()
{
    // The XDG rule: an XDG_DATA_HOME that is not absolute is ignored.
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    const QString base = QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(base).filePath(QStringLiteral("Korvex"));
}

QByteArray textoConfiguracao(const ConfiguracaoSistema &empresa)
{
    const QString porta = empresa.portaKqx().isEmpty() ? PastaPrograma::portaPadrao() : empresa.portaKqx();
    QString texto = QStringLiteral("[CONFIG]\r\nPORTA_KQX=%1\r\nEMPRESA=%2\r\n").arg(porta, empresa.empresa());
    if (!empresa.cor().isEmpty())
        texto += QStringLiteral("COR=%1\r\n").arg(empresa.cor());
    return TextCodec::toWindows1252(texto);
}

} // namespace

PastaPrograma::Locais PastaPrograma::locaisDoSistema(const QString &programa)
{
    Locais locais;
    locais.pastaAtual = QDir::currentPath();
    locais.pastaDados = pastaDadosUsuario();
    // Installed as <prefix>/bin/korvex with <prefix>/share/korvex; the build tree mirrors it.
    locais.modeloBase = QDir(QFileInfo(programa).absolutePath()).absoluteFilePath(QStringLiteral("../share/korvex/") + kBase);
    locais.configuracaoEmpresa = QStringLiteral("/etc/korvex/") + ConfiguracaoSistema::nomeArquivo();
    return locais;
}

PastaPrograma::Escolha PastaPrograma::escolhe(QStringList &argumentos, const Locais &locais)
{
    Escolha escolha;
    QString dada;
    bool informada = false;
    const QString prefixo = opcao() + u'=';
    for (qsizetype i = 1; i < argumentos.size();) {
        const QString argumento = argumentos.at(i);
        if (argumento == opcao()) {
            if (i + 1 >= argumentos.size()) {
                escolha.erro = QStringLiteral("Informe a pasta depois de %1.").arg(opcao());
                return escolha;
            }
            dada = argumentos.at(i + 1);
            argumentos.remove(i, 2);
            informada = true;
        } else if (argumento.startsWith(prefixo)) {
            dada = argumento.mid(prefixo.size());
            argumentos.remove(i);
            informada = true;
        } else {
            ++i;
        }
    }
    if (informada && dada.trimmed().isEmpty()) {
        escolha.erro = QStringLiteral("Informe a pasta depois de %1.").arg(opcao());
        return escolha;
    }
    if (informada) {
        escolha.pasta = QDir(locais.pastaAtual).absoluteFilePath(dada);
        escolha.completar = true;
    } else if (QFileInfo::exists(QDir(locais.pastaAtual).filePath(ConfiguracaoSistema::nomeArquivo()))) {
        escolha.pasta = locais.pastaAtual;
    } else {
        escolha.pasta = locais.pastaDados;
        escolha.completar = true;
    }
    escolha.pasta = QDir::cleanPath(escolha.pasta);
    return escolha;
}

QString PastaPrograma::completa(const QString &pasta, const Locais &locais)
{
    const QDir dir(pasta);
    if (!QDir().mkpath(pasta))
        return QStringLiteral("Não foi possível criar a pasta do programa %1.").arg(pasta);

    const QString base = dir.filePath(kBase);
    if (!QFileInfo::exists(base) && !QFileInfo::exists(dir.filePath(kBaseAntiga))) {
        if (!QFileInfo(locais.modeloBase).isFile())
            return QStringLiteral("A base vazia do programa não foi encontrada em %1; reinstale o Korvex.")
                .arg(locais.modeloBase);
        // Copied under another name first, so a copy cut short is never taken for the database.
        const QString parcial = base + QStringLiteral(".novo");
        QFile::remove(parcial);
        if (!QFile::copy(locais.modeloBase, parcial) || !QFile::rename(parcial, base)) {
            QFile::remove(parcial);
            return QStringLiteral("Não foi possível criar %1.").arg(base);
        }
        // The installed file is read-only for everybody; the seller's copy is the seller's.
        QFile::setPermissions(base, QFile::permissions(base) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }

    const QString ini = dir.filePath(ConfiguracaoSistema::nomeArquivo());
    if (!QFileInfo::exists(ini)) {
        QSaveFile arquivo(ini);
        if (!arquivo.open(QIODevice::WriteOnly)
            || arquivo.write(textoConfiguracao(ConfiguracaoSistema::carrega(locais.configuracaoEmpresa))) < 0
            || !arquivo.commit())
            return QStringLiteral("Não foi possível criar %1.").arg(ini);
    }
    return {};
}

bool PastaPrograma::ajusta(int &argc, char **argv)
{
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const QStringList originais = argumentos;
    const Locais locais = locaisDoSistema(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    const Escolha escolha = escolhe(argumentos, locais);
    QString erro = escolha.erro;
    if (erro.isEmpty() && escolha.completar)
        erro = completa(escolha.pasta, locais);
    // The engine's lock files go to /tmp/firebird, which the first user to create it keeps
    // to himself; an installed program keeps them beside its database instead, so every seller
    // account of a notebook works and both processes of one folder always share them.
    if (erro.isEmpty() && escolha.completar && !qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        qputenv("FIREBIRD_LOCK", QFile::encodeName(QDir(escolha.pasta).filePath(QStringLiteral(".firebird"))));
    if (erro.isEmpty() && !QDir::setCurrent(escolha.pasta))
        erro = QStringLiteral("Não foi possível usar a pasta do programa %1.").arg(escolha.pasta);
    if (!erro.isEmpty()) {
        std::fputs((erro + u'\n').toUtf8().constData(), stderr);
        return false;
    }

    // The removed arguments leave argv; the rest keep their order (the strings are argv's own).
    int destino = 0;
    qsizetype seguinte = 0;
    for (int i = 0; i < argc; ++i) {
        if (seguinte < argumentos.size() && originais.at(i) == argumentos.at(seguinte)) {
            argv[destino++] = argv[i];
            ++seguinte;
        }
    }
    argc = destino;
    argv[argc] = nullptr;
    return true;
}
