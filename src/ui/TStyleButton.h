#pragma once

#include <QToolButton>

// An icon button whose icon is chosen by a style lookup name
// ("playtoolbutton", "stoptoolbutton", ...). The tag is a free integer the
// window gives the button, such as the step in milliseconds of a step button.
class TStyleButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QString styleLookup READ StyleLookup WRITE SetStyleLookup)
    Q_PROPERTY(int tag READ Tag WRITE SetTag)
public:
    explicit TStyleButton(QWidget* parent = nullptr);

    QString StyleLookup() const { return FStyleLookup; }
    void SetStyleLookup(const QString& sStyleLookup);

    int Tag() const { return FTag; }
    void SetTag(int ATag) { FTag = ATag; }

private:
    QString FStyleLookup;
    int FTag = 0;
};
