#include "ClientDataSetPlus.h"

#include <QStringDecoder>

#include "DataSetStatement.h"
#include "DatabaseError.h"
#include "FieldValues.h"
#include "FirebirdConnection.h"
#include "Formatos.h"
#include "FormatosColunas.h"

#include <QFile>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <map>

// Status, first change and loaded values of one stored row.
struct TClientDataSetPlus::Row
{
    RowStatus status = RowStatus::Unmodified;
    qint64 changeOrder = 0;     // when the row entered the log: changes are written in that order
    QVector<QVariant> original; // values as loaded, kept while the row is modified or deleted
};

struct TClientDataSetPlus::Index
{
    QString fields;
    bool descending = false;
};

struct TClientDataSetPlus::Statement
{
    QString sql;
    QVariantList binds;
    bool locatesRow = false; // UPDATE/DELETE: must touch exactly one row
};

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

const QString kRowNotFound = QStringLiteral("Registro não encontrado ou alterado por outro usuário.");

QString engineMessage(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

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

// Grid columns are the visible fields in field order.
int fieldIndexOfColumn(const QVector<FieldDef> &fields, int column)
{
    int visible = 0;
    for (int f = 0; f < fields.size(); ++f) {
        if (!fields.at(f).visible)
            continue;
        if (visible == column)
            return f;
        ++visible;
    }
    return -1;
}

QString quotedName(const QString &name)
{
    QString n = name;
    n.replace(u'"', QLatin1String("\"\""));
    return u'"' + n + u'"';
}

// How a loaded value becomes the stored one.
enum class Loader { AsIs, Integer, Numeric, FixedText };

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

QString TClientDataSetPlus::statementWithParams(QStringList &binds) const
{
    const DataSetStatement::Parsed parsed = DataSetStatement::parseParameters(m_commandText);
    binds.clear();
    for (const QString &name : parsed.names) {
        const auto it = m_params.constFind(name);
        if (it == m_params.cend())
            throw DatabaseError(QStringLiteral("Parâmetro %1 sem valor.").arg(name));
        binds << (it->isNull() ? QStringLiteral("") : *it);
    }
    return parsed.positional;
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

void TClientDataSetPlus::open()
{
    if (active())
        return;
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    if (m_commandText.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem comando SQL."));

    QStringList binds;
    const QString sql = statementWithParams(binds);
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

    const QSqlRecord record = q.record();
    const int n = record.count();
    QVector<FieldDef> defs;
    QVector<Loader> loaders;
    QVector<int> sizes;
    defs.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QSqlField f = record.field(i);
        FieldDef def;
        def.name = columnName(f.name());
        def.originTable = f.tableName().trimmed();
        Loader loader = Loader::AsIs;
        switch (f.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            def.kind = FieldKind::Integer;
            loader = Loader::Integer;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            if (f.precision() > 0) {
                def.kind = FieldKind::Numeric;
                def.scale = f.precision();
                loader = Loader::Numeric;
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
                loader = Loader::FixedText;
            break;
        }
        defs << def;
        loaders << loader;
        sizes << def.size;
    }

    // Owner settings of a reopened dataset survive; the write flag only for the same statement.
    for (FieldDef &def : defs) {
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
    }

    // A price the statement computes by a division comes with the division's scale; it holds
    // the decimals of its column.
    for (FieldDef &def : defs) {
        const int casas = FormatosColunas::casas(def.name);
        if (def.kind == FieldKind::Numeric && casas >= 0 && def.scale > casas)
            def.scale = casas;
    }

    beginResetModel();
    resetStorage();
    setFieldsFrom(defs);
    m_openedCommandText = m_commandText;
    m_loadedTableName.clear();
    // An executed procedure answers one row, its output parameters; the driver would hand the
    // same row over again on every fetch.
    const bool procedimento = sql.trimmed().startsWith(QLatin1String("EXECUTE"), Qt::CaseInsensitive);
    try {
        while ((!procedimento || m_rows.empty()) && q.next()) {
            for (int i = 0; i < n; ++i) {
                QVariant v = q.value(i);
                if (v.isNull()) {
                    m_cells.append(QVariant());
                    continue;
                }
                switch (loaders.at(i)) {
                case Loader::AsIs:
                    m_cells.append(std::move(v));
                    break;
                case Loader::Integer:
                    m_cells.append(QVariant(v.toLongLong()));
                    break;
                case Loader::Numeric:
                    m_cells.append(QVariant(roundToScale(v.toDouble(), defs.at(i).scale)));
                    break;
                case Loader::FixedText: {
                    // Only CHAR values come longer than their width (padding): cut the padding.
                    if (v.typeId() == QMetaType::QString) {
                        const QString *s = static_cast<const QString *>(v.constData());
                        if (s->size() > sizes.at(i)) {
                            m_cells.append(QVariant(s->left(sizes.at(i))));
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
    // Refused here, by name, rather than by the engine's "string right truncation" at apply.
    if (def.kind == FieldKind::String && def.size > 0 && converted.typeId() == QMetaType::QString) {
        const qsizetype length = static_cast<const QString *>(converted.constData())->size();
        if (length > def.size)
            throw DatabaseError(QStringLiteral("O campo %1 aceita no máximo %2 caracteres; foram informados %3.")
                                    .arg(def.displayLabel.isEmpty() ? def.name : def.displayLabel)
                                    .arg(def.size)
                                    .arg(length));
    }
    m_buffer[index] = std::move(converted);
}

void TClientDataSetPlus::clearValue(const QString &field)
{
    setValue(field, QVariant());
}

// ---------------------------------------------------------------------------------------------
// Navigation

void TClientDataSetPlus::requireActive() const
{
    if (!active())
        throw DatabaseError(QStringLiteral("Operação não permitida com o conjunto de dados fechado."));
}

void TClientDataSetPlus::requireEditing() const
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DatabaseError(QStringLiteral("O conjunto de dados não está em edição nem em inclusão."));
}

void TClientDataSetPlus::requireCurrentRow() const
{
    requireActive();
    if (m_position < 0 || m_position >= m_view.size())
        throw DatabaseError(QStringLiteral("Operação não permitida com o conjunto de dados vazio."));
}

void TClientDataSetPlus::checkBrowseMode()
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void TClientDataSetPlus::moveTo(int position, bool forceNotify)
{
    const int old = m_position;
    m_position = position;
    if (forceNotify || old != position) {
        emit currentChanged(m_position);
        if (afterScroll)
            afterScroll(*this);
    }
}

int TClientDataSetPlus::recordCount() const
{
    return active() ? static_cast<int>(m_view.size()) : 0;
}

void TClientDataSetPlus::first()
{
    requireActive();
    checkBrowseMode();
    m_bof = true;
    m_eof = m_view.isEmpty();
    moveTo(m_view.isEmpty() ? -1 : 0, true);
}

void TClientDataSetPlus::last()
{
    requireActive();
    checkBrowseMode();
    m_eof = true;
    m_bof = m_view.isEmpty();
    moveTo(static_cast<int>(m_view.size()) - 1, true);
}

void TClientDataSetPlus::next()
{
    requireActive();
    checkBrowseMode();
    if (m_position + 1 < m_view.size()) {
        m_bof = false;
        m_eof = false;
        moveTo(m_position + 1, false);
    } else {
        m_eof = true;
    }
}

void TClientDataSetPlus::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_position > 0) {
        m_bof = false;
        m_eof = false;
        moveTo(m_position - 1, false);
    } else {
        m_bof = true;
    }
}

bool TClientDataSetPlus::eof() const
{
    return !active() || m_eof || m_view.isEmpty();
}

bool TClientDataSetPlus::bof() const
{
    return !active() || m_bof || m_view.isEmpty();
}

int TClientDataSetPlus::recNo() const
{
    return active() && !m_view.isEmpty() ? m_position : -1;
}

void TClientDataSetPlus::setRecNo(int position)
{
    requireActive();
    checkBrowseMode();
    if (m_view.isEmpty()) {
        m_bof = m_eof = true;
        moveTo(-1, false);
        return;
    }
    m_bof = m_eof = false;
    moveTo(std::clamp(position, 0, static_cast<int>(m_view.size()) - 1), false);
}

bool TClientDataSetPlus::locate(const QStringList &fields, const QVariantList &values)
{
    requireActive();
    checkBrowseMode();
    QStringList names = fields;
    if (names.size() == 1 && names.first().contains(u';'))
        names = names.first().split(u';', Qt::SkipEmptyParts);
    if (names.size() != values.size())
        throw DatabaseError(QStringLiteral("A pesquisa tem %1 campos e %2 valores.").arg(names.size()).arg(values.size()));
    // Each wanted value in the field's own form, so 250.4 finds 250.40 and a date finds its day.
    QVector<int> indexes;
    QVector<QVariant> wanted;
    for (int i = 0; i < names.size(); ++i) {
        const int index = fieldIndex(names.at(i).trimmed());
        if (index < 0)
            throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(names.at(i)));
        indexes << index;
        QVariant v;
        try {
            v = convert(m_fields.at(index), values.at(i));
        } catch (const DatabaseError &) {
            return false; // a value that cannot be of this field matches no row
        }
        wanted << v;
    }
    for (int position = 0; position < m_view.size(); ++position) {
        const int row = m_view.at(position);
        bool match = true;
        for (int i = 0; i < indexes.size() && match; ++i) {
            const QVariant v = storageValue(row, indexes.at(i));
            if (isNullValue(wanted.at(i)))
                match = isNullValue(v);
            else
                match = !isNullValue(v)
                        && textOfValue(m_fields.at(indexes.at(i)), v) == textOfValue(m_fields.at(indexes.at(i)), wanted.at(i));
        }
        if (match) {
            setRecNo(position);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// View: filter and index order, kept in step with the item model

QVector<int> TClientDataSetPlus::sortKeys(bool *descending) const
{
    QString fields = m_indexFieldNames;
    *descending = false;
    if (!m_indexName.isEmpty()) {
        const auto it = m_indexes.constFind(m_indexName.toUpper());
        if (it != m_indexes.cend()) {
            fields = (*it)->fields;
            *descending = (*it)->descending;
        }
    }
    QVector<int> keys;
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    for (const QString &name : names) {
        const int index = fieldIndex(name.trimmed());
        if (index >= 0)
            keys << index;
    }
    return keys;
}

QVector<int> TClientDataSetPlus::computeView() const
{
    QVector<int> view;
    view.reserve(static_cast<int>(m_rows.size()));
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        if (m_rows[row].status == RowStatus::Deleted)
            continue;
        if (m_filter && !m_filter(DataRow(*this, row)))
            continue;
        view << row;
    }
    bool descending = false;
    const QVector<int> keys = sortKeys(&descending);
    if (!keys.isEmpty()) {
        // Keys are taken out once per row so that comparing costs no conversions; text keys
        // view the stored strings, or strings computed here for calculated and blob fields.
        const int storageRows = static_cast<int>(m_rows.size());
        QVector<QVector<QVariant>> computed(keys.size());
        QVector<QVector<SortKey>> sortKeys(keys.size());
        QVector<FieldKind> kinds;
        for (int k = 0; k < keys.size(); ++k) {
            const int f = keys.at(k);
            const FieldKind kind = m_fields.at(f).kind;
            kinds << kind;
            const bool textual = kind == FieldKind::String || kind == FieldKind::Blob;
            sortKeys[k].resize(storageRows);
            if (f >= m_stride || kind == FieldKind::Blob) {
                computed[k].resize(storageRows);
                for (int row : std::as_const(view)) {
                    QVariant v = storageValue(row, f);
                    if (textual && !isNullValue(v))
                        v = QVariant(textOfValue(m_fields.at(f), v));
                    computed[k][row] = std::move(v);
                }
                for (int row : std::as_const(view))
                    sortKeys[k][row] = sortKeyOf(kind, computed[k][row]);
            } else {
                for (int row : std::as_const(view))
                    sortKeys[k][row] = sortKeyOf(kind, cell(row, f));
            }
        }
        std::stable_sort(view.begin(), view.end(), [&](int a, int b) {
            for (int k = 0; k < keys.size(); ++k) {
                const int c = compareKeys(kinds.at(k), sortKeys[k][a], sortKeys[k][b]);
                if (c != 0)
                    return descending ? c > 0 : c < 0;
            }
            return false;
        });
    }
    return view;
}

void TClientDataSetPlus::rebuildView()
{
    const int current = m_position >= 0 && m_position < m_view.size() ? m_view.at(m_position) : -1;
    rebuildView(current, false);
}

void TClientDataSetPlus::rebuildView(int currentStorageRow, bool valuesChanged)
{
    if (!active())
        return;
    setView(computeView(), currentStorageRow, valuesChanged);
}

void TClientDataSetPlus::setView(QVector<int> view, int currentStorageRow, bool valuesChanged)
{
    const int previousRow = m_position >= 0 && m_position < m_view.size() ? m_view.at(m_position) : -1;
    const QVector<int> &old = m_view;
    const int columns = columnCount();
    auto changedRow = [&](int row) {
        if (valuesChanged && row >= 0 && columns > 0)
            emit dataChanged(index(row, 0), index(row, columns - 1));
    };
    if (view == old) {
        changedRow(static_cast<int>(view.indexOf(currentStorageRow)));
    } else if (view.size() == old.size() + 1 || view.size() + 1 == old.size()) {
        const bool inserting = view.size() > old.size();
        const QVector<int> &longer = inserting ? view : old;
        const QVector<int> &shorter = inserting ? old : view;
        int at = 0;
        while (at < shorter.size() && shorter.at(at) == longer.at(at))
            ++at;
        bool single = true;
        for (int i = at; i < shorter.size() && single; ++i)
            single = shorter.at(i) == longer.at(i + 1);
        if (single && inserting) {
            beginInsertRows({}, at, at);
            m_view = std::move(view);
            endInsertRows();
        } else if (single) {
            beginRemoveRows({}, at, at);
            m_view = std::move(view);
            endRemoveRows();
        } else {
            beginResetModel();
            m_view = std::move(view);
            endResetModel();
        }
    } else {
        QVector<int> a = old;
        QVector<int> b = view;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        if (a == b) {
            // Same rows in another order: move the views' persistent indexes with their rows.
            emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
            QVector<int> newPosition(static_cast<int>(m_rows.size()), -1);
            for (int i = 0; i < view.size(); ++i)
                newPosition[view.at(i)] = i;
            const QModelIndexList persistent = persistentIndexList();
            QModelIndexList moved;
            moved.reserve(persistent.size());
            for (const QModelIndex &idx : persistent) {
                const int storage = idx.row() < old.size() ? old.at(idx.row()) : -1;
                const int row = storage >= 0 ? newPosition.at(storage) : -1;
                moved << (row >= 0 ? index(row, idx.column()) : QModelIndex());
            }
            m_view = std::move(view);
            changePersistentIndexList(persistent, moved);
            emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
            changedRow(static_cast<int>(m_view.indexOf(currentStorageRow)));
        } else {
            beginResetModel();
            m_view = std::move(view);
            endResetModel();
        }
    }

    int position = currentStorageRow >= 0 ? static_cast<int>(m_view.indexOf(currentStorageRow)) : -1;
    if (position < 0)
        position = m_view.isEmpty() ? -1 : std::clamp(m_position, 0, static_cast<int>(m_view.size()) - 1);
    if (m_view.isEmpty())
        m_bof = m_eof = true;
    else if (position != m_position)
        m_bof = m_eof = false;
    const int nowRow = position >= 0 ? m_view.at(position) : -1;
    moveTo(position, nowRow != previousRow);
}

void TClientDataSetPlus::setFilter(std::function<bool(const DataRow &)> predicate)
{
    checkBrowseMode();
    m_filter = std::move(predicate);
    rebuildView();
}

void TClientDataSetPlus::clearFilter()
{
    checkBrowseMode();
    m_filter = nullptr;
    rebuildView();
}

void TClientDataSetPlus::setIndexFieldNames(const QString &fields)
{
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    for (const QString &name : names)
        if (active() && fieldIndex(name.trimmed()) < 0)
            throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(name.trimmed()));
    checkBrowseMode();
    m_indexFieldNames = fields;
    m_indexName.clear();
    rebuildView();
}

void TClientDataSetPlus::addIndex(const QString &name, const QString &fields, bool descending)
{
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    if (name.trimmed().isEmpty() || names.isEmpty())
        throw DatabaseError(QStringLiteral("Índice sem nome ou sem campos."));
    for (const QString &field : names)
        if (active() && fieldIndex(field.trimmed()) < 0)
            throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field.trimmed()));
    auto index = std::make_shared<Index>();
    index->fields = fields;
    index->descending = descending;
    m_indexes.insert(name.trimmed().toUpper(), index);
    if (m_indexName.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
        rebuildView();
}

bool TClientDataSetPlus::hasIndex(const QString &name) const
{
    return m_indexes.contains(name.trimmed().toUpper());
}

void TClientDataSetPlus::setIndexName(const QString &name)
{
    if (!name.trimmed().isEmpty() && !hasIndex(name))
        throw DatabaseError(QStringLiteral("Índice %1 não encontrado.").arg(name));
    checkBrowseMode();
    m_indexName = name.trimmed();
    m_indexFieldNames.clear();
    rebuildView();
}

void TClientDataSetPlus::sortByColumnTitle(const QString &field)
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    const QString name = m_fields.at(index).name;
    if (m_indexFieldNames.compare(name, Qt::CaseInsensitive) != 0) {
        setIndexFieldNames(name);
        return;
    }
    const QString descending = name.toUpper() + QStringLiteral("_INV");
    if (!hasIndex(descending))
        addIndex(descending, name, true);
    setIndexName(descending);
}

double TClientDataSetPlus::sum(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    if (!active())
        return 0;
    const FieldDef &def = m_fields.at(index);
    double total = 0;
    for (int row : m_view)
        total += floatOfValue(def, storageValue(row, index));
    return def.kind == FieldKind::Numeric ? Formatos::round(total, def.scale) : total;
}

// ---------------------------------------------------------------------------------------------
// Editing and change log

void TClientDataSetPlus::append()
{
    requireActive();
    checkBrowseMode();
    m_buffer = QVector<QVariant>(m_stride);
    m_bufferRow = -1;
    m_state = State::Insert;
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            cancel();
            throw;
        }
    }
}

void TClientDataSetPlus::edit()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    requireCurrentRow();
    m_bufferRow = m_view.at(m_position);
    m_buffer = m_cells.mid(m_bufferRow * m_stride, m_stride);
    m_state = State::Edit;
}

void TClientDataSetPlus::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (beforePost)
        beforePost(*this); // a refusal leaves the row in edition
    int storageRow = m_bufferRow;
    bool changed = true;
    if (m_state == State::Insert) {
        storageRow = static_cast<int>(m_rows.size());
        m_cells += m_buffer;
        Row row;
        row.status = RowStatus::Inserted;
        row.changeOrder = ++m_changeSequence;
        m_rows.push_back(std::move(row));
    } else {
        Row &row = m_rows[storageRow];
        const int start = storageRow * m_stride;
        changed = false;
        for (int f = 0; f < m_stride && !changed; ++f)
            changed = m_cells.at(start + f) != m_buffer.at(f);
        if (changed) {
            if (row.status == RowStatus::Unmodified) {
                row.original = m_cells.mid(start, m_stride);
                row.status = RowStatus::Modified;
                row.changeOrder = ++m_changeSequence;
            }
            std::copy(m_buffer.cbegin(), m_buffer.cend(), m_cells.begin() + start);
        }
    }
    m_buffer.clear();
    m_bufferRow = -1;
    m_state = State::Browse;
    // The row may now fall out of the filter or move in the index order.
    if (changed)
        rebuildView(storageRow, true);
    if (afterPost)
        afterPost(*this);
    if (AutoApplyUpdates && changeCount() > 0)
        applyUpdates();
}

void TClientDataSetPlus::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer.clear();
    m_bufferRow = -1;
    m_state = State::Browse;
}

void TClientDataSetPlus::deleteRecord()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireCurrentRow();
    const int position = m_position;
    const int storageRow = m_view.at(position);
    Row &row = m_rows[storageRow];
    if (row.status == RowStatus::Inserted) {
        removeInsertedRow(position); // never written: it simply goes away
    } else {
        if (row.status == RowStatus::Unmodified) {
            row.original = m_cells.mid(storageRow * m_stride, m_stride);
            row.changeOrder = ++m_changeSequence;
        }
        row.status = RowStatus::Deleted;
        beginRemoveRows({}, position, position);
        m_view.remove(position);
        endRemoveRows();
    }
    moveToRemovedPlace(position);
    if (afterDelete)
        afterDelete(*this);
    if (AutoApplyUpdates && changeCount() > 0)
        applyUpdates();
}

void TClientDataSetPlus::removeInsertedRow(int position)
{
    const int storageRow = m_view.at(position);
    beginRemoveRows({}, position, position);
    m_view.remove(position);
    for (int &r : m_view)
        if (r > storageRow)
            --r;
    m_cells.remove(storageRow * m_stride, m_stride);
    m_rows.erase(m_rows.begin() + storageRow);
    endRemoveRows();
}

void TClientDataSetPlus::moveToRemovedPlace(int position)
{
    // The next row takes the removed one's place; the previous one when it was the last.
    if (m_view.isEmpty()) {
        m_bof = m_eof = true;
        moveTo(-1, true);
    } else {
        m_bof = m_eof = false;
        moveTo(std::min(position, static_cast<int>(m_view.size()) - 1), true);
    }
}

void TClientDataSetPlus::revertRecord()
{
    requireActive();
    cancel();
    requireCurrentRow();
    const int position = m_position;
    const int storageRow = m_view.at(position);
    Row &row = m_rows[storageRow];
    if (row.status == RowStatus::Inserted) {
        removeInsertedRow(position);
        moveToRemovedPlace(position);
    } else if (row.status == RowStatus::Modified) {
        std::copy(row.original.cbegin(), row.original.cend(), m_cells.begin() + storageRow * m_stride);
        row = Row();
        rebuildView(storageRow, true);
    }
}

int TClientDataSetPlus::changeCount() const
{
    int count = 0;
    for (const Row &row : m_rows)
        if (row.status != RowStatus::Unmodified)
            ++count;
    return count;
}

TClientDataSetPlus::RowStatus TClientDataSetPlus::rowStatus() const
{
    if (m_state == State::Insert)
        return RowStatus::Inserted;
    const int row = m_state == State::Edit ? m_bufferRow : storageRowOfCurrent();
    if (row < 0)
        return RowStatus::Unmodified;
    return m_rows[row].status;
}

void TClientDataSetPlus::dropDeletedRows()
{
    QVector<int> newIndex(static_cast<int>(m_rows.size()), -1);
    QVector<QVariant> cells;
    std::vector<Row> rows;
    cells.reserve(m_cells.size());
    rows.reserve(m_rows.size());
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        if (m_rows[r].status == RowStatus::Deleted)
            continue;
        newIndex[r] = static_cast<int>(rows.size());
        rows.push_back(std::move(m_rows[r]));
        cells.append(m_cells.mid(r * m_stride, m_stride));
    }
    m_rows = std::move(rows);
    m_cells = std::move(cells);
    // Deleted rows are never visible, so the view keeps its rows and order.
    for (int &r : m_view)
        r = newIndex.at(r);
    if (m_bufferRow >= 0)
        m_bufferRow = newIndex.at(m_bufferRow);
}

void TClientDataSetPlus::mergeChangeLog()
{
    bool anyDeleted = false;
    for (Row &row : m_rows) {
        if (row.status == RowStatus::Deleted) {
            anyDeleted = true;
            continue;
        }
        row.status = RowStatus::Unmodified;
        row.original.clear();
        row.changeOrder = 0;
    }
    if (anyDeleted)
        dropDeletedRows();
}

void TClientDataSetPlus::cancelUpdates()
{
    if (!active())
        return;
    cancel();
    const int current = storageRowOfCurrent();
    QVector<int> newIndex(static_cast<int>(m_rows.size()), -1);
    QVector<QVariant> cells;
    std::vector<Row> rows;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        const Row &row = m_rows[r];
        if (row.status == RowStatus::Inserted)
            continue;
        newIndex[r] = static_cast<int>(rows.size());
        if (row.status == RowStatus::Unmodified)
            cells.append(m_cells.mid(r * m_stride, m_stride));
        else
            cells.append(row.original);
        rows.emplace_back();
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_cells = std::move(cells);
    m_changeSequence = 0;
    m_view = computeView();
    endResetModel();
    const int keep = current >= 0 ? newIndex.at(current) : -1;
    int position = keep >= 0 ? static_cast<int>(m_view.indexOf(keep)) : -1;
    if (position < 0)
        position = m_view.isEmpty() ? -1 : 0;
    m_bof = m_eof = m_view.isEmpty();
    moveTo(position, true);
}

// ---------------------------------------------------------------------------------------------
// Apply

void TClientDataSetPlus::loadTableColumns()
{
    const QString table = tableName();
    if (table.isEmpty())
        throw DatabaseError(QStringLiteral("Não foi possível determinar a tabela a gravar."));
    if (m_checkedTable == table)
        return;
    QSqlQuery q = m_connection->query();
    // Computed columns are listed too, but cannot be written.
    if (!q.prepare(QStringLiteral(
            "SELECT TRIM(RF.RDB$FIELD_NAME), CASE WHEN F.RDB$COMPUTED_BLR IS NULL THEN 1 ELSE 0 END "
            "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
            "WHERE RF.RDB$RELATION_NAME = ?")))
        throw DatabaseError(engineMessage(q.lastError()));
    q.bindValue(0, table);
    if (!q.exec())
        throw DatabaseError(engineMessage(q.lastError()));
    QHash<QString, bool> columns;
    while (q.next())
        columns.insert(q.value(0).toString().trimmed().toUpper(), q.value(1).toInt() == 1);
    if (columns.isEmpty())
        throw DatabaseError(QStringLiteral("Tabela %1 não encontrada no banco de dados.").arg(table));
    m_tableColumns = columns;
    m_checkedTable = table;
}

QVector<TClientDataSetPlus::Statement> TClientDataSetPlus::buildStatements() const
{
    const QString table = tableName();
    const QString target = quotedName(table);

    // A column is written when the table has it (and it is not computed there) and the
    // owner left it in updates. When the engine told where columns come from, joined and
    // expression columns stay out even if their names exist in the table.
    bool originKnown = false;
    for (int f = 0; f < m_stride && !originKnown; ++f)
        originKnown = m_fields.at(f).originTable.compare(table, Qt::CaseInsensitive) == 0;
    QVector<int> written;
    for (int f = 0; f < m_stride; ++f) {
        const FieldDef &def = m_fields.at(f);
        if (!def.inUpdate || def.calculated || !m_tableColumns.value(def.name.toUpper(), false))
            continue;
        if (originKnown && def.originTable.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        written << f;
    }
    if (written.isEmpty())
        throw DatabaseError(QStringLiteral("Nenhum campo do conjunto de dados pode ser gravado na tabela %1.").arg(table));

    QVector<int> order;
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r)
        if (m_rows[r].status != RowStatus::Unmodified)
            order << r;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return m_rows[a].changeOrder < m_rows[b].changeOrder; });

    auto whereAll = [&](const QVector<QVariant> &original, Statement &st) {
        QStringList conditions;
        for (int f : written) {
            const FieldDef &def = m_fields.at(f);
            if (def.kind == FieldKind::Blob)
                continue; // blobs cannot be compared
            if (isNullValue(original.at(f))) {
                conditions << quotedName(def.name) + QStringLiteral(" IS NULL");
            } else {
                conditions << quotedName(def.name) + QStringLiteral(" = ?");
                st.binds << bindValueOf(def, original.at(f));
            }
        }
        if (conditions.isEmpty())
            throw DatabaseError(QStringLiteral("Não há campos para localizar o registro na tabela %1.").arg(table));
        st.sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    };

    QVector<Statement> statements;
    for (int r : std::as_const(order)) {
        const Row &row = m_rows[r];
        const int start = r * m_stride;
        Statement st;
        switch (row.status) {
        case RowStatus::Inserted: {
            // Null columns are left out so the table's defaults apply.
            QStringList names;
            QStringList marks;
            for (int f : written) {
                const QVariant &v = m_cells.at(start + f);
                if (isNullValue(v))
                    continue;
                names << quotedName(m_fields.at(f).name);
                marks << QStringLiteral("?");
                st.binds << bindValueOf(m_fields.at(f), v);
            }
            st.sql = names.isEmpty()
                         ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(target)
                         : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(target, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            break;
        }
        case RowStatus::Modified: {
            QStringList sets;
            for (int f : written) {
                const QVariant &now = m_cells.at(start + f);
                const QVariant &before = row.original.at(f);
                const bool same = isNullValue(now) ? isNullValue(before) : (!isNullValue(before) && now == before);
                if (same)
                    continue;
                sets << quotedName(m_fields.at(f).name) + QStringLiteral(" = ?");
                st.binds << bindValueOf(m_fields.at(f), now);
            }
            if (sets.isEmpty())
                continue; // only columns that are not written changed
            st.sql = QStringLiteral("UPDATE %1 SET %2").arg(target, sets.join(QStringLiteral(", ")));
            whereAll(row.original, st);
            st.locatesRow = true;
            break;
        }
        case RowStatus::Deleted:
            st.sql = QStringLiteral("DELETE FROM %1").arg(target);
            whereAll(row.original, st);
            st.locatesRow = true;
            break;
        case RowStatus::Unmodified:
            continue;
        }
        statements << st;
    }
    return statements;
}

void TClientDataSetPlus::writeLog()
{
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    loadTableColumns();
    const QVector<Statement> statements = buildStatements();
    std::map<QString, QSqlQuery> prepared; // rows of one shape share a prepared statement
    for (const Statement &st : statements) {
        auto it = prepared.find(st.sql);
        if (it == prepared.end()) {
            QSqlQuery q = m_connection->query();
            if (!q.prepare(st.sql))
                throw DatabaseError(engineMessage(q.lastError()));
            it = prepared.emplace(st.sql, std::move(q)).first;
        }
        QSqlQuery &q = it->second;
        for (int i = 0; i < st.binds.size(); ++i)
            q.bindValue(i, st.binds.at(i));
        if (!q.exec())
            throw DatabaseError(engineMessage(q.lastError()));
        if (st.locatesRow) {
            const int affected = q.numRowsAffected();
            if (affected == 0)
                throw DatabaseError(kRowNotFound);
            if (affected > 1)
                throw DatabaseError(QStringLiteral(
                    "Mais de um registro corresponde ao registro alterado; nada foi gravado."));
        }
    }
}

void TClientDataSetPlus::applyUpdates()
{
    requireActive();
    checkBrowseMode();
    if (changeCount() == 0)
        return;
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    {
        TransactionGuard transaction(*m_connection);
        writeLog();
        transaction.commit();
    }
    mergeChangeLog();
}

void TClientDataSetPlus::applyUpdatesInTransaction()
{
    requireActive();
    checkBrowseMode();
    if (changeCount() == 0)
        return;
    if (!m_connection || !m_connection->inTransaction())
        throw DatabaseError(QStringLiteral("Não há transação aberta para gravar o conjunto de dados."));
    writeLog();
}

void TClientDataSetPlus::applyUpdatesTogether(const QList<TClientDataSetPlus *> &dataSets)
{
    FirebirdConnection *connection = nullptr;
    for (TClientDataSetPlus *ds : dataSets) {
        ds->requireActive();
        ds->checkBrowseMode();
        if (!connection)
            connection = ds->m_connection;
        else if (ds->m_connection != connection)
            throw DatabaseError(QStringLiteral("Os conjuntos de dados gravados juntos precisam da mesma conexão."));
    }
    if (!connection || !connection->isOpen())
        throw DatabaseError(QStringLiteral("O conjunto de dados não tem conexão aberta com o banco de dados."));
    {
        TransactionGuard transaction(*connection);
        for (TClientDataSetPlus *ds : dataSets)
            if (ds->changeCount() > 0)
                ds->writeLog();
        transaction.commit();
    }
    for (TClientDataSetPlus *ds : dataSets)
        ds->mergeChangeLog();
}

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

// ---------------------------------------------------------------------------------------------
// Item model

int TClientDataSetPlus::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : recordCount();
}

int TClientDataSetPlus::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !active())
        return 0;
    int count = 0;
    for (const FieldDef &def : m_fields)
        if (def.visible)
            ++count;
    return count;
}

int TClientDataSetPlus::columnOfField(const QString &field) const
{
    const int target = fieldIndex(field);
    if (target < 0 || !m_fields.at(target).visible)
        return -1;
    int column = 0;
    for (int f = 0; f < target; ++f)
        if (m_fields.at(f).visible)
            ++column;
    return column;
}

QString TClientDataSetPlus::fieldOfColumn(int column) const
{
    const int field = fieldIndexOfColumn(m_fields, column);
    return field >= 0 ? m_fields.at(field).name : QString();
}

QVariant TClientDataSetPlus::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_view.size())
        return {};
    const int field = fieldIndexOfColumn(m_fields, index.column());
    if (field < 0)
        return {};
    const int row = m_view.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return displayOf(row, field);
    case Qt::EditRole:
        return storageValue(row, field);
    case Qt::TextAlignmentRole:
        if (isNumberKind(m_fields.at(field).kind))
            return QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant TClientDataSetPlus::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const int field = fieldIndexOfColumn(m_fields, section);
    if (field < 0)
        return {};
    const FieldDef &def = m_fields.at(field);
    return def.displayLabel.isEmpty() ? def.name : def.displayLabel;
}

void TClientDataSetPlus::sort(int column, Qt::SortOrder)
{
    const QString field = fieldOfColumn(column);
    if (!field.isEmpty() && active())
        sortByColumnTitle(field);
}
