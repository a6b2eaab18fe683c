#include "ClientDataSetPlus.h"
#include "ClientDataSetPlusInternals.h"

#include "DataSetStatement.h"
#include "DatabaseError.h"
#include "FieldValues.h"
#include "FirebirdConnection.h"
#include "Formatos.h"
#include "FormatosColunas.h"
#include "SqlText.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

using namespace FieldValues;

namespace {
// The driver hands column names (aliases such as "RAZÃO SOCIAL") over as Latin-1 of their
// UTF-8 bytes; read them back as UTF-8 when they form valid UTF-8.
QString columnName(const QString &raw)
{
    bool wide = false;
    for (const QChar c : raw)
        if (c.unicode() > 0x7F) {
            wide = true;
            if (c.unicode() > 0xFF)
                return raw;
        }
    if (!wide)
        return raw;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(raw.toLatin1());
    return decoder.hasError() ? raw : decoded;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// DataRow

QVariant DataRow::value(const QString &field) const
{
    const int index = m_ds->fieldIndex(field);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    return m_ds->storageValue(m_row, index);
}

QVariant DataRow::value(int field) const
{
    return m_ds->storageValue(m_row, field);
}

QString DataRow::asString(const QString &field) const
{
    return textOfValue(m_ds->fieldDef(field), value(field));
}

double DataRow::asFloat(const QString &field) const
{
    return floatOfValue(m_ds->fieldDef(field), value(field));
}

qint64 DataRow::asInteger(const QString &field) const
{
    return integerOfValue(m_ds->fieldDef(field), value(field));
}

QDate DataRow::asDate(const QString &field) const
{
    return dateTimeOfValue(m_ds->fieldDef(field), value(field)).date();
}

bool DataRow::isNull(const QString &field) const
{
    return isNullValue(value(field));
}

// ---------------------------------------------------------------------------------------------
// Statement and parameters

TClientDataSetPlus::TClientDataSetPlus(QObject *parent)
    : QAbstractTableModel(parent)
{
}

TClientDataSetPlus::~TClientDataSetPlus() = default;

void TClientDataSetPlus::setConnection(FirebirdConnection *connection)
{
    m_connection = connection;
    m_checkedTable.clear();
}

void TClientDataSetPlus::setCommandText(const QString &sql)
{
    m_commandText = sql;
    m_paramOrder = DataSetStatement::parseParameters(sql).names;
    for (auto it = m_params.begin(); it != m_params.end();) {
        if (m_paramOrder.contains(it.key()))
            ++it;
        else
            it = m_params.erase(it);
    }
    m_typedParams.removeIf([this](const QString &name) { return !m_paramOrder.contains(name); });
    m_loadedTableName.clear();
    m_checkedTable.clear();
}

void TClientDataSetPlus::setParam(const QString &name, const QString &value)
{
    QString key = name.trimmed().toUpper();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    if (!m_paramOrder.contains(key))
        throw DatabaseError(QStringLiteral("Parâmetro %1 não encontrado no comando.").arg(key));
    m_params.insert(key, value);
    m_typedParams.remove(key);
}

void TClientDataSetPlus::setTypedParam(const QString &name, const QString &value)
{
    setParam(name, value);
    QString key = name.trimmed().toUpper();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    m_typedParams.insert(key);
}

QString TClientDataSetPlus::param(const QString &name) const
{
    QString key = name.trimmed().toUpper();
    if (key.startsWith(u':'))
        key.remove(0, 1);
    return m_params.value(key);
}

QStringList TClientDataSetPlus::paramNames() const
{
    QStringList names;
    for (const QString &name : m_paramOrder)
        if (!names.contains(name))
            names << name;
    return names;
}

QString TClientDataSetPlus::statementWithParams(QVariantList &binds) const
{
    const DataSetStatement::Parsed parsed = DataSetStatement::parseParameters(m_commandText);
    QString sql = parsed.positional;
    binds.clear();
    for (qsizetype i = parsed.names.size() - 1; i >= 0; --i) {
        const QString &name = parsed.names.at(i);
        const auto it = m_params.constFind(name);
        if (it == m_params.cend())
            throw DatabaseError(QStringLiteral("Parâmetro %1 sem valor.").arg(name));
        QVariant value = it->isNull() ? QStringLiteral("") : *it;
        if (m_typedParams.contains(name)) {
            // A NULL makes the comparison unknown: the filter lets no row through.
            if (!SqlText::comparable(*it))
                value = QVariant(QMetaType::fromType<QString>());
            sql.replace(parsed.places.at(i), 1, SqlText::typedPlaceholder());
        }
        binds.prepend(value);
    }
    return sql;
}

void TClientDataSetPlus::setTableName(const QString &table)
{
    const QString t = table.trimmed();
    if (t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"'))
        m_tableName = t.mid(1, t.size() - 2);
    else
        m_tableName = t.toUpper();
    m_checkedTable.clear();
}

QString TClientDataSetPlus::tableName() const
{
    if (!m_tableName.isEmpty())
        return m_tableName;
    if (!m_loadedTableName.isEmpty())
        return m_loadedTableName;
    return tableOfStatement(m_commandText);
}

QString TClientDataSetPlus::tableOfStatement(const QString &sql)
{
    return DataSetStatement::tableOf(sql);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void TClientDataSetPlus::resetStorage()
{
    m_cells.clear();
    m_rows.clear();
    m_view.clear();
    m_position = -1;
    m_bof = true;
    m_eof = true;
    m_buffer.clear();
    m_bufferRow = -1;
    m_changeSequence = 0;
}

void TClientDataSetPlus::setFieldsFrom(QVector<FieldDef> dataFields)
{
    const QVector<FieldDef> calculated = m_fields.mid(m_stride);
    m_stride = static_cast<int>(dataFields.size());
    m_fields = std::move(dataFields);
    for (FieldDef &def : m_fields)
        if (def.displayFormat.isEmpty())
            def.displayFormat = FormatosColunas::mascara(def.name);
    m_fields += calculated;
    m_fieldIndex.clear();
    for (int i = 0; i < m_fields.size(); ++i)
        m_fieldIndex.insert(m_fields.at(i).name.toUpper(), i);
}

// The column's definition and how its values are stored.
TClientDataSetPlus::ColumnLoad TClientDataSetPlus::columnLoadOf(const QSqlField &f)
{
    ColumnLoad column;
    FieldDef &def = column.def;
    def.name = columnName(f.name());
    def.originTable = f.tableName().trimmed();
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        def.kind = FieldKind::Integer;
        column.loader = ColumnLoad::Integer;
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        if (f.precision() > 0) {
            def.kind = FieldKind::Numeric;
            def.scale = f.precision();
            column.loader = ColumnLoad::Numeric;
        } else {
            def.kind = FieldKind::Float;
        }
        break;
    case QMetaType::QDate:
        def.kind = FieldKind::Date;
        break;
    case QMetaType::QTime:
        def.kind = FieldKind::Time;
        break;
    case QMetaType::QDateTime:
        def.kind = FieldKind::DateTime;
        break;
    case QMetaType::QByteArray:
        def.kind = FieldKind::Blob;
        break;
    case QMetaType::Bool:
        def.kind = FieldKind::Boolean;
        break;
    default:
        def.kind = FieldKind::String;
        // UTF-8 on the wire: the driver reports bytes, four per character.
        def.size = f.length() > 0 ? f.length() / 4 : 0;
        // Fixed-width text arrives padded to its byte length; keep the declared width.
        if (def.size > 0)
            column.loader = ColumnLoad::FixedText;
        break;
    }
    return column;
}

QSqlQuery TClientDataSetPlus::executeSelect(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery q = m_connection->query();
    // The driver scales NUMERIC through a double in either policy; taking the double directly
    // skips a text round trip per value. Values are rounded to their scale below.
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!q.prepare(sql))
        throw DatabaseError(engineMessage(q.lastError()));
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    if (!q.exec())
        throw DatabaseError(engineMessage(q.lastError()));
    return q;
}

void TClientDataSetPlus::keepOwnerSettings(QVector<ColumnLoad> &columns) const
{
    // Owner settings of a reopened dataset survive; the write flag only for the same statement.
    for (ColumnLoad &column : columns) {
        FieldDef &def = column.def;
        for (const FieldDef &old : std::as_const(m_previousFields)) {
            if (old.name.compare(def.name, Qt::CaseInsensitive) != 0)
                continue;
            def.displayFormat = old.displayFormat;
            def.displayLabel = old.displayLabel;
            def.visible = old.visible;
            if (m_openedCommandText == m_commandText && old.kind == def.kind)
                def.inUpdate = old.inUpdate;
            break;
        }
        // A price the statement computes by a division comes with the division's scale; it holds
        // the decimals of its column.
        const int casas = FormatosColunas::casas(def.name);
        if (def.kind == FieldKind::Numeric && casas >= 0 && def.scale > casas)
            def.scale = casas;
    }
}

void TClientDataSetPlus::loadRows(QSqlQuery &q, const QVector<ColumnLoad> &columns, bool procedure)
{
    const int n = static_cast<int>(columns.size());
    // An executed procedure answers one row, its output parameters; the driver would hand the
    // same row over again on every fetch.
    while ((!procedure || m_rows.empty()) && q.next()) {
        for (int i = 0; i < n; ++i) {
            QVariant v = q.value(i);
            if (v.isNull()) {
                m_cells.append(QVariant());
                continue;
            }
            const ColumnLoad &column = columns.at(i);
            switch (column.loader) {
            case ColumnLoad::AsIs:
                m_cells.append(std::move(v));
                break;
            case ColumnLoad::Integer:
                m_cells.append(QVariant(v.toLongLong()));
                break;
            case ColumnLoad::Numeric:
                m_cells.append(QVariant(roundToScale(v.toDouble(), column.def.scale)));
                break;
            case ColumnLoad::FixedText: {
                // Only CHAR values come longer than their width (padding): cut the padding.
                if (v.typeId() == QMetaType::QString) {
                    const QString *s = static_cast<const QString *>(v.constData());
                    if (s->size() > column.def.size) {
                        m_cells.append(QVariant(s->left(column.def.size)));
                        break;
                    }
                }
                m_cells.append(std::move(v));
                break;
            }
            }
        }
        m_rows.emplace_back();
    }
    if (q.lastError().isValid())
        throw DatabaseError(engineMessage(q.lastError()));
}

void TClientDataSetPlus::open()
{
    if (active())
        return;
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    if (m_commandText.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem comando SQL."));

    QVariantList binds;
    const QString sql = statementWithParams(binds);
    QSqlQuery q = executeSelect(sql, binds);

    const QSqlRecord record = q.record();
    QVector<ColumnLoad> columns;
    columns.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        columns << columnLoadOf(record.field(i));
    keepOwnerSettings(columns);
    QVector<FieldDef> defs;
    defs.reserve(columns.size());
    for (const ColumnLoad &column : std::as_const(columns))
        defs << column.def;

    beginResetModel();
    resetStorage();
    setFieldsFrom(defs);
    m_openedCommandText = m_commandText;
    m_loadedTableName.clear();
    try {
        loadRows(q, columns, sql.trimmed().startsWith(QLatin1String("EXECUTE"), Qt::CaseInsensitive));
        m_state = State::Browse;
        m_view = computeView();
    } catch (...) {
        resetStorage();
        m_state = State::Inactive;
        endResetModel();
        throw;
    }
    endResetModel();
    first();
}

void TClientDataSetPlus::close()
{
    if (!active())
        return;
    beginResetModel();
    m_previousFields = m_fields.mid(0, m_stride);
    setFieldsFrom({});
    resetStorage();
    m_loadedTableName.clear();
    m_state = State::Inactive;
    endResetModel();
}

void TClientDataSetPlus::refresh()
{
    requireActive();
    checkBrowseMode();
    if (changeCount() > 0)
        throw DatabaseError(QStringLiteral(
            "Há alterações não gravadas; grave-as ou cancele-as antes de atualizar os dados."));
    const int position = m_position;
    close();
    open();
    if (position > 0)
        setRecNo(std::min(position, recordCount() - 1));
}

void TClientDataSetPlus::createDataSet(const QVector<FieldDef> &fields)
{
    close();
    beginResetModel();
    setFieldsFrom(fields);
    resetStorage();
    m_openedCommandText.clear();
    m_loadedTableName.clear();
    m_state = State::Browse;
    endResetModel();
    first();
}

// ---------------------------------------------------------------------------------------------
// Fields

int TClientDataSetPlus::fieldCount() const
{
    return static_cast<int>(m_fields.size());
}

const FieldDef &TClientDataSetPlus::fieldDef(int index) const
{
    if (index < 0 || index >= m_fields.size())
        throw DatabaseError(QStringLiteral("Campo de número %1 não existe.").arg(index));
    return m_fields.at(index);
}

FieldDef &TClientDataSetPlus::fieldDef(const QString &name)
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(name));
    return m_fields[index];
}

const FieldDef &TClientDataSetPlus::fieldDef(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(name));
    return m_fields.at(index);
}

int TClientDataSetPlus::fieldIndex(const QString &name) const
{
    return m_fieldIndex.value(name.toUpper(), -1);
}

QStringList TClientDataSetPlus::fieldNames() const
{
    QStringList names;
    for (const FieldDef &def : m_fields)
        names << def.name;
    return names;
}

void TClientDataSetPlus::addCalculatedField(const FieldDef &def, std::function<QVariant(const DataRow &)> compute)
{
    if (fieldIndex(def.name) >= 0)
        throw DatabaseError(QStringLiteral("Campo '%1' já existe.").arg(def.name));
    const bool shown = active();
    if (shown)
        beginResetModel();
    FieldDef calc = def;
    calc.calculated = true;
    calc.inUpdate = false;
    m_fields << calc;
    m_fieldIndex.insert(calc.name.toUpper(), static_cast<int>(m_fields.size()) - 1);
    m_calculated << std::move(compute);
    if (shown)
        endResetModel();
}

// ---------------------------------------------------------------------------------------------
// Values

const QVariant &TClientDataSetPlus::cell(int storageRow, int field) const
{
    if (storageRow == EditBufferRow)
        return m_buffer.at(field);
    return m_cells.at(storageRow * m_stride + field);
}

QVariant TClientDataSetPlus::storageValue(int storageRow, int field) const
{
    if (field < 0 || field >= m_fields.size())
        throw DatabaseError(QStringLiteral("Campo de número %1 não existe.").arg(field));
    if (storageRow == EditBufferRow ? m_buffer.isEmpty() && m_stride > 0
                                    : (storageRow < 0 || storageRow >= static_cast<int>(m_rows.size())))
        return {};
    if (field < m_stride)
        return cell(storageRow, field);
    const auto &compute = m_calculated.at(field - m_stride);
    if (!compute)
        return {};
    QVariant v = compute(DataRow(*this, storageRow));
    if (isNullValue(v))
        return {};
    const FieldDef &def = m_fields.at(field);
    if (def.kind == FieldKind::Numeric)
        return QVariant(Formatos::round(v.toDouble(), def.scale));
    return v;
}

int TClientDataSetPlus::storageRowOfCurrent() const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return EditBufferRow;
    if (m_state == State::Inactive || m_position < 0 || m_position >= m_view.size())
        return -1;
    return m_view.at(m_position);
}

QString TClientDataSetPlus::textOf(int storageRow, int field) const
{
    return textOfValue(m_fields.at(field), storageValue(storageRow, field));
}

QString TClientDataSetPlus::displayOf(int storageRow, int field) const
{
    const FieldDef &def = m_fields.at(field);
    const QVariant v = storageValue(storageRow, field);
    if (isNullValue(v))
        return QString();
    const QString &mask = def.displayFormat;
    switch (def.kind) {
    case FieldKind::Integer:
    case FieldKind::Numeric:
    case FieldKind::Float:
        if (!mask.isEmpty())
            return Formatos::formatMask(v.toDouble(), mask);
        if (def.kind == FieldKind::Integer)
            return QString::number(v.toLongLong());
        return Formatos::number(v.toDouble());
    case FieldKind::Date:
        return Formatos::formatDate(v.toDate(), mask.isEmpty() ? QStringLiteral("dd/mm/yyyy") : mask);
    case FieldKind::Time:
        if (!mask.isEmpty())
            return Formatos::formatDateTime(QDateTime(delphiEpoch(), v.toTime()), mask);
        break;
    case FieldKind::DateTime:
        if (!mask.isEmpty())
            return Formatos::formatDateTime(v.toDateTime(), mask);
        break;
    case FieldKind::String:
    case FieldKind::Blob:
    case FieldKind::Boolean:
        break;
    }
    return textOfValue(def, v);
}

QVariant TClientDataSetPlus::value(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    return value(index);
}

QVariant TClientDataSetPlus::value(int field) const
{
    return storageValue(storageRowOfCurrent(), field);
}

QString TClientDataSetPlus::asString(const QString &field) const
{
    return textOfValue(fieldDef(field), value(field));
}

QString TClientDataSetPlus::asString(int field) const
{
    return textOfValue(fieldDef(field), value(field));
}

double TClientDataSetPlus::asFloat(const QString &field) const
{
    return floatOfValue(fieldDef(field), value(field));
}

qint64 TClientDataSetPlus::asInteger(const QString &field) const
{
    return integerOfValue(fieldDef(field), value(field));
}

QDate TClientDataSetPlus::asDate(const QString &field) const
{
    return dateTimeOfValue(fieldDef(field), value(field)).date();
}

QTime TClientDataSetPlus::asTime(const QString &field) const
{
    return timeOfValue(fieldDef(field), value(field));
}

QDateTime TClientDataSetPlus::asDateTime(const QString &field) const
{
    return dateTimeOfValue(fieldDef(field), value(field));
}

bool TClientDataSetPlus::isNull(const QString &field) const
{
    return isNullValue(value(field));
}

bool TClientDataSetPlus::isNull(int field) const
{
    return isNullValue(value(field));
}

FieldKind TClientDataSetPlus::kind(const QString &field) const
{
    return fieldDef(field).kind;
}

DataRow TClientDataSetPlus::currentRow() const
{
    return DataRow(*this, storageRowOfCurrent());
}

QString TClientDataSetPlus::displayText(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    return displayOf(storageRowOfCurrent(), index);
}

void TClientDataSetPlus::setValue(const QString &field, const QVariant &value)
{
    requireEditing();
    const int index = fieldIndex(field);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    if (index >= m_stride)
        throw DatabaseError(QStringLiteral("O campo calculado %1 não pode ser alterado.").arg(field));
    const FieldDef &def = m_fields.at(index);
    QVariant converted = convert(def, value);
    // Refused here, by name, rather than by the engine's "string right truncation" or "Cannot
    // transliterate character" at apply.
    if (def.kind == FieldKind::String && converted.typeId() == QMetaType::QString) {
        const QString &text = *static_cast<const QString *>(converted.constData());
        const QString &rotulo = def.displayLabel.isEmpty() ? def.name : def.displayLabel;
        if (def.size > 0 && text.size() > def.size)
            throw DatabaseError(QStringLiteral("O campo %1 aceita no máximo %2 caracteres; foram informados %3.")
                                    .arg(rotulo)
                                    .arg(def.size)
                                    .arg(text.size()));
        if (const QString caractere = SqlText::unstorableCharacter(text); !caractere.isEmpty())
            throw DatabaseError(QStringLiteral("O campo %1 não aceita o caractere \"%2\".").arg(rotulo, caractere));
    }
    m_buffer[index] = std::move(converted);
}

void TClientDataSetPlus::clearValue(const QString &field)
{
    setValue(field, QVariant());
}

