#pragma once

#include <QObject>
#include <QString>

class FirebirdConnection;
class TClientDataSetPlus;

// The data module of the registries, orders, messages and supervisor tools: the shared
// datasets with their statements, and the values one window hands over to another.
class D500CAD : public QObject
{
    Q_OBJECT
public:
    explicit D500CAD(FirebirdConnection &connection, QObject *parent = nullptr);
    ~D500CAD() override;

    // The single instance (set by the constructor).
    static D500CAD *instance();

    // Order hand-over: the customer (and its seller) for which the order window starts a new
    // order; empty when the order window opens without a pre-selected customer.
    QString codCliPedido;
    QString codNovPedido;
    QString codVenPedido;

    // One order's header and its items, by PCODEMP, PCODPDF and PCODINT: the order window edits
    // the order through them and the synchronisation restores budgets through them. VLDITM, the
    // item's correction mark, lives only in memory.
    static const QString kSelectPedido;
    static const QString kSelectItensPedido;

    // Received messages of the company, newest first (parameters PCODEMP, PSITMSG).
    TClientDataSetPlus *cdsMSGRecebidas = nullptr;
    static const QString kSelectMSGRecebidas;

    // Opens cdsMSGRecebidas for the company with situation "N" and tells whether it has rows;
    // closes it again. Throws DatabaseError.
    bool existemMensagensNovas(const QString &codEmp);

private:
    static D500CAD *s_instance;
};
