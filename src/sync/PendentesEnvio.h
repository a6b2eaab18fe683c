#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class D500DAT;

// One kind of work in a package, as the seller reads it: a title and one line per row.
struct GrupoPendentes
{
    QString titulo;
    QStringList linhas;
};

// "Pendentes de envio": what the next package will carry, read with the package's own
// statements, so the list shows exactly the rows that go up: orders with their customer and
// total, new and changed customers, messages, read marks, flex movements, bonus decisions and a
// pending password change. Kinds without rows are left out.
class PendentesEnvio
{
public:
    explicit PendentesEnvio(D500DAT &dat);

    // Throws DatabaseError. Empty on a notebook without user, which sends nothing.
    QList<GrupoPendentes> le() const;

    static int total(const QList<GrupoPendentes> &grupos);
    // For a terminal: a heading with the count, then each kind with its rows indented.
    static QStringList texto(const QString &titulo, const QList<GrupoPendentes> &grupos);

private:
    D500DAT &m_dat;
};
