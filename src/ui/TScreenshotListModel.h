#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QList>
#include <QString>

// The rows of the screenshot thumbnail list: header rows and item rows, each
// with a hidden text, a detail text shown under the item's image, and the image.
// An item row's texts are its screenshot's folder and file name with every
// byte kept (PathFromNative); its detail is shown through PathDisplay.
class TScreenshotListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum class TPurpose { Header, Item };

    struct TRow
    {
        TPurpose Purpose = TPurpose::Item;
        QString Text;
        QString Detail;
        QImage Image;
    };

    enum TRole {
        PurposeRole = Qt::UserRole + 1,
        TextRole,
        DetailRole,
        ImageRole,
    };

    explicit TScreenshotListModel(QObject* parent = nullptr);

    int Count() const { return int(FRows.size()); }
    const TRow& Row(int AIndex) const { return FRows.at(AIndex); }
    // The full path of an item row's screenshot (its text joined with its
    // detail); empty for a header row or an index past the rows.
    QString FilePath(int AIndex) const;
    // The first item row of the screenshot sFilePath, -1 when none.
    int IndexOfFile(const QString& sFilePath) const;

    // Removes every row.
    void Clear();
    // Inserts ARow before row AIndex (0 puts it at the top, Count() at the end).
    void InsertRow(int AIndex, const TRow& ARow);
    void RemoveRow(int AIndex);
    void SetImage(int AIndex, const QImage& AImage);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<TRow> FRows;
};
