#pragma once

#include <QHash>
#include <QString>

class QByteArray;

// The configuration file SisCon.ini of the program folder: a Windows INI file in Windows-1252
// text, read once at start-up. Sections and keys are found in any letter case; the first
// occurrence of a key counts; blanks around a value and one pair of enclosing quotes are dropped.
// A missing or unreadable file reads as empty.
class ConfiguracaoSistema
{
public:
    static QString nomeArquivo(); // "SisCon.ini"

    static ConfiguracaoSistema carrega(const QString &fileName);
    static ConfiguracaoSistema interpreta(const QByteArray &bytes);

    QString valor(const QString &section, const QString &key) const;

    // Section CONFIG.
    QString portaKqx() const; // PORTA_KQX: port of the synchronisation server
    QString empresa() const;  // EMPRESA: first status-bar panel
    QString cor() const;      // COR: colour of the module-button panel

private:
    QHash<QString, QHash<QString, QString>> m_secoes; // upper-case section -> upper-case key -> value
};
