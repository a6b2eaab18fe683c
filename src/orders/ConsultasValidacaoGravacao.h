#pragma once

#include "ValidacaoGravacaoPedido.h"

#include <QSet>
#include <QString>
#include <QVector>
#include <QtGlobal>

class FirebirdConnection;

// The statements behind the per-cost-centre checks of "Salvar": the company's cost centres,
// whether the header's operation is allowed for one of them, and the names of the customer's
// operations it allows (for the refusal).
class ConsultasValidacaoGravacao
{
public:
    static QString instrucaoCentrosCusto();       // PCODEMP
    static QString instrucaoOperacaoPermitida();  // PCODEMP, PCODCCU, PCODOPE
    static QString instrucaoOperacoesPermitidas(); // PCODCLI, PCODEMP, PCODCCU

    // The company's cost centres in the order returned; those holding items of the order
    // (centrosCustoItens) are checked against the operation. Throws DatabaseError.
    static QVector<ValidacaoGravacaoPedido::CentroCusto> carrega(FirebirdConnection &connection, const QString &CODEMP,
                                                        const QString &CODOPE, const QString &CODCLI,
                                                        const QSet<qint64> &centrosCustoItens);
};
