#include "ConfiguracaoSistema.h"

#include "TextCodec.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

namespace {
const QString kSecaoConfig = QStringLiteral("CONFIG");

QString semAspas(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}
} // namespace

QString ConfiguracaoSistema::nomeArquivo()
{
    return QStringLiteral("SisCon.ini");
}

ConfiguracaoSistema ConfiguracaoSistema::carrega(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return interpreta(file.readAll());
}

ConfiguracaoSistema ConfiguracaoSistema::interpreta(const QByteArray &bytes)
{
    // A file saved by a modern editor may carry a UTF-8 mark; without it the text is 1252.
    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    const QString text = bytes.startsWith(utf8Bom) ? QString::fromUtf8(bytes.mid(utf8Bom.size()))
                                                   : TextCodec::fromWindows1252(bytes);
    ConfiguracaoSistema config;
    QString secao;
    bool dentroDeSecao = false;
    const QStringList linhas = text.split(u'\n');
    for (const QString &bruta : linhas) {
        const QString linha = bruta.trimmed();
        if (linha.isEmpty() || linha.startsWith(u';'))
            continue;
        if (linha.startsWith(u'[')) {
            const qsizetype fim = linha.indexOf(u']');
            secao = linha.mid(1, fim < 0 ? -1 : fim - 1).trimmed().toUpper();
            dentroDeSecao = true;
            continue;
        }
        const qsizetype igual = linha.indexOf(u'=');
        if (!dentroDeSecao || igual <= 0)
            continue;
        const QString chave = linha.left(igual).trimmed().toUpper();
        QHash<QString, QString> &valores = config.m_secoes[secao];
        if (!valores.contains(chave))
            valores.insert(chave, semAspas(linha.mid(igual + 1).trimmed()));
    }
    return config;
}

QString ConfiguracaoSistema::valor(const QString &section, const QString &key) const
{
    const auto secao = m_secoes.constFind(section.toUpper());
    if (secao == m_secoes.constEnd())
        return {};
    return secao->value(key.toUpper());
}

QString ConfiguracaoSistema::portaKqx() const
{
    return valor(kSecaoConfig, QStringLiteral("PORTA_KQX"));
}

QString ConfiguracaoSistema::empresa() const
{
    return valor(kSecaoConfig, QStringLiteral("EMPRESA"));
}

QString ConfiguracaoSistema::cor() const
{
    return valor(kSecaoConfig, QStringLiteral("COR"));
}
