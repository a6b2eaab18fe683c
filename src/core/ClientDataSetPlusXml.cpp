#include "ClientDataSetPlus.h"
#include "ClientDataSetPlusInternals.h"

#include "DatabaseError.h"
#include "FieldValues.h"
#include "Formatos.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

using namespace FieldValues;

namespace {

QString statusName(TClientDataSetPlus::RowStatus status)
{
    switch (status) {
    case TClientDataSetPlus::RowStatus::Unmodified:
        return QStringLiteral("unmodified");
    case TClientDataSetPlus::RowStatus::Inserted:
        return QStringLiteral("inserted");
    case TClientDataSetPlus::RowStatus::Modified:
        return QStringLiteral("modified");
    case TClientDataSetPlus::RowStatus::Deleted:
        return QStringLiteral("deleted");
    }
    return {};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// XML persistence

void TClientDataSetPlus::saveToFile(const QString &fileName) const
{
    requireActive();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw DatabaseError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(fileName, file.errorString()));
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("DataSet"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("table"), tableName());

    xml.writeStartElement(QStringLiteral("Fields"));
    for (int f = 0; f < m_stride; ++f) {
        const FieldDef &def = m_fields.at(f);
        xml.writeStartElement(QStringLiteral("Field"));
        xml.writeAttribute(QStringLiteral("name"), def.name);
        xml.writeAttribute(QStringLiteral("kind"), kindName(def.kind));
        xml.writeAttribute(QStringLiteral("size"), QString::number(def.size));
        xml.writeAttribute(QStringLiteral("scale"), QString::number(def.scale));
        xml.writeAttribute(QStringLiteral("inUpdate"), def.inUpdate ? QStringLiteral("1") : QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("origin"), def.originTable);
        xml.writeAttribute(QStringLiteral("displayFormat"), def.displayFormat);
        xml.writeAttribute(QStringLiteral("displayLabel"), def.displayLabel);
        xml.writeAttribute(QStringLiteral("visible"), def.visible ? QStringLiteral("1") : QStringLiteral("0"));
        xml.writeEndElement();
    }
    xml.writeEndElement();

    auto writeValues = [&](const QString &element, const QVariant *values) {
        xml.writeStartElement(element);
        for (int f = 0; f < m_stride; ++f) {
            xml.writeStartElement(QStringLiteral("V"));
            if (isNullValue(values[f])) {
                xml.writeAttribute(QStringLiteral("null"), QStringLiteral("1"));
            } else {
                bool base64 = false;
                const QString text = fileTextOf(m_fields.at(f), values[f], &base64);
                if (base64)
                    xml.writeAttribute(QStringLiteral("base64"), QStringLiteral("1"));
                xml.writeCharacters(text);
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    };

    xml.writeStartElement(QStringLiteral("Rows"));
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const Row &row = m_rows[r];
        xml.writeStartElement(QStringLiteral("Row"));
        xml.writeAttribute(QStringLiteral("status"), statusName(row.status));
        if (row.status != RowStatus::Unmodified)
            xml.writeAttribute(QStringLiteral("order"), QString::number(row.changeOrder));
        writeValues(QStringLiteral("Current"), m_cells.constData() + r * m_stride);
        if (row.status == RowStatus::Modified || row.status == RowStatus::Deleted)
            writeValues(QStringLiteral("Original"), row.original.constData());
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError() || !file.commit())
        throw DatabaseError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(fileName, file.errorString()));
}

void TClientDataSetPlus::loadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível abrir o arquivo %1: %2").arg(fileName, file.errorString()));
    auto invalid = [&fileName](const QString &why) {
        return DatabaseError(QStringLiteral("O arquivo %1 não contém um conjunto de dados válido: %2").arg(fileName, why));
    };

    QXmlStreamReader xml(&file);
    QString table;
    QVector<FieldDef> fields;
    QVector<QVariant> cells;
    std::vector<Row> rows;
    qint64 sequence = 0;
    bool sawRoot = false;

    auto readValues = [&](QVector<QVariant> &into) {
        int f = 0;
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("V") || f >= fields.size())
                throw invalid(QStringLiteral("valores fora das colunas"));
            const bool isNull = xml.attributes().value(QLatin1String("null")) == QLatin1String("1");
            const bool base64 = xml.attributes().value(QLatin1String("base64")) == QLatin1String("1");
            const QString text = xml.readElementText();
            if (isNull) {
                into << QVariant();
            } else {
                bool ok = true;
                QVariant v = valueOfFileText(fields.at(f), text, base64, &ok);
                if (!ok)
                    throw invalid(QStringLiteral("valor '%1' da coluna %2").arg(text, fields.at(f).name));
                into << v;
            }
            ++f;
        }
        if (f != fields.size())
            throw invalid(QStringLiteral("linha com %1 valores para %2 colunas").arg(f).arg(fields.size()));
    };

    if (!xml.readNextStartElement() || xml.name() != QLatin1String("DataSet"))
        throw invalid(QStringLiteral("elemento DataSet ausente"));
    sawRoot = true;
    table = xml.attributes().value(QLatin1String("table")).toString();
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Fields")) {
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("Field"))
                    throw invalid(QStringLiteral("coluna mal formada"));
                const QXmlStreamAttributes a = xml.attributes();
                FieldDef def;
                def.name = a.value(QLatin1String("name")).toString();
                if (def.name.isEmpty() || !kindOfName(a.value(QLatin1String("kind")), &def.kind))
                    throw invalid(QStringLiteral("coluna sem nome ou de tipo desconhecido"));
                def.size = a.value(QLatin1String("size")).toInt();
                def.scale = a.value(QLatin1String("scale")).toInt();
                def.inUpdate = a.value(QLatin1String("inUpdate")) != QLatin1String("0");
                def.originTable = a.value(QLatin1String("origin")).toString();
                def.displayFormat = a.value(QLatin1String("displayFormat")).toString();
                def.displayLabel = a.value(QLatin1String("displayLabel")).toString();
                def.visible = a.value(QLatin1String("visible")) != QLatin1String("0");
                fields << def;
                xml.skipCurrentElement();
            }
        } else if (xml.name() == QLatin1String("Rows")) {
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("Row"))
                    throw invalid(QStringLiteral("linha mal formada"));
                Row row;
                const QStringView status = xml.attributes().value(QLatin1String("status"));
                if (status == QLatin1String("inserted"))
                    row.status = RowStatus::Inserted;
                else if (status == QLatin1String("modified"))
                    row.status = RowStatus::Modified;
                else if (status == QLatin1String("deleted"))
                    row.status = RowStatus::Deleted;
                else if (status == QLatin1String("unmodified"))
                    row.status = RowStatus::Unmodified;
                else
                    throw invalid(QStringLiteral("situação de linha desconhecida"));
                row.changeOrder = xml.attributes().value(QLatin1String("order")).toLongLong();
                sequence = std::max(sequence, row.changeOrder);
                bool sawCurrent = false;
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("Current")) {
                        readValues(cells);
                        sawCurrent = true;
                    } else if (xml.name() == QLatin1String("Original")) {
                        readValues(row.original);
                    } else {
                        xml.skipCurrentElement();
                    }
                }
                const bool needsOriginal = row.status == RowStatus::Modified || row.status == RowStatus::Deleted;
                if (!sawCurrent || needsOriginal != !row.original.isEmpty())
                    throw invalid(QStringLiteral("linha sem valores"));
                rows.push_back(std::move(row));
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError() || !sawRoot)
        throw invalid(xml.errorString());

    cancel();
    beginResetModel();
    setFieldsFrom(fields);
    resetStorage();
    m_cells = std::move(cells);
    m_rows = std::move(rows);
    m_changeSequence = sequence;
    m_loadedTableName = table;
    m_checkedTable.clear();
    m_openedCommandText.clear();
    m_state = State::Browse;
    try {
        m_view = computeView();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
    first();
}

