#include "ClientDataSetPlus.h"
#include "ClientDataSetPlusInternals.h"

#include "DatabaseError.h"
#include "FieldValues.h"
#include "Formatos.h"

#include <algorithm>
#include <cmath>
#include <map>

using namespace FieldValues;

namespace {

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

} // namespace

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

void TClientDataSetPlus::setDisplayLabel(const QString &field, const QString &label)
{
    fieldDef(field).displayLabel = label;
    const int column = columnOfField(field);
    if (column >= 0)
        emit headerDataChanged(Qt::Horizontal, column, column);
}
