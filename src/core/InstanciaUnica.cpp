#include "InstanciaUnica.h"

#include <QDir>
#include <QLockFile>

InstanciaUnica::InstanciaUnica(const QString &folder)
    : m_lock(std::make_unique<QLockFile>(QDir(folder).filePath(nomeArquivo())))
{
    // Never count a live program's lock as stale, however long it has been running.
    m_lock->setStaleLockTime(0);
}

InstanciaUnica::~InstanciaUnica() = default;

bool InstanciaUnica::trava()
{
    return m_lock->isLocked() || m_lock->tryLock(0);
}

bool InstanciaUnica::travada() const
{
    return m_lock->isLocked();
}

QString InstanciaUnica::nomeArquivo()
{
    return QStringLiteral("korvex.lock");
}

QString InstanciaUnica::mensagemJaAberto()
{
    return QStringLiteral("O Korvex já está aberto nesta pasta. Use a janela que já está aberta.");
}
