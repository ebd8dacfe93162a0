#include "ui/TScreenshotListModel.h"

#include "services/OrvPath.h"

TScreenshotListModel::TScreenshotListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

QString TScreenshotListModel::FilePath(int AIndex) const
{
    if (AIndex < 0 || AIndex >= Count() || FRows.at(AIndex).Purpose != TPurpose::Item)
        return {};
    return PathCombine(FRows.at(AIndex).Text, FRows.at(AIndex).Detail);
}

int TScreenshotListModel::IndexOfFile(const QString& sFilePath) const
{
    for (int i = 0; i < Count() && !sFilePath.isEmpty(); ++i) {
        if (FilePath(i) == sFilePath)
            return i;
    }
    return -1;
}

void TScreenshotListModel::Clear()
{
    beginResetModel();
    FRows.clear();
    endResetModel();
}

void TScreenshotListModel::InsertRow(int AIndex, const TRow& ARow)
{
    Q_ASSERT(AIndex >= 0 && AIndex <= Count());
    beginInsertRows({}, AIndex, AIndex);
    FRows.insert(AIndex, ARow);
    endInsertRows();
}

void TScreenshotListModel::RemoveRow(int AIndex)
{
    Q_ASSERT(AIndex >= 0 && AIndex < Count());
    beginRemoveRows({}, AIndex, AIndex);
    FRows.removeAt(AIndex);
    endRemoveRows();
}

void TScreenshotListModel::SetImage(int AIndex, const QImage& AImage)
{
    FRows[AIndex].Image = AImage;
    const QModelIndex changed = index(AIndex);
    emit dataChanged(changed, changed, {ImageRole});
}

int TScreenshotListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant TScreenshotListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const TRow& row = FRows.at(index.row());
    switch (role) {
    case PurposeRole:
        return QVariant::fromValue(int(row.Purpose));
    case TextRole:
        return row.Text;
    case Qt::DisplayRole:
    case DetailRole:
        return row.Purpose == TPurpose::Header ? row.Text : PathDisplay(row.Detail);
    case ImageRole:
        return row.Image;
    default:
        return {};
    }
}

Qt::ItemFlags TScreenshotListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled;
}
