#pragma once

#include <QImage>
#include <QWidget>

// The frame a player rests on, drawn by the program itself over the engine's
// video window: fitted into the window at the video's display aspect and
// centred on black, as the engine draws its own pictures. Being the
// program's, it is drawn again whenever the window is exposed or resized,
// which the engine does not do for a paused picture.
class TStillPicture : public QWidget
{
public:
    explicit TStillPicture(QWidget* AParent);

    // Shows AImage, whose width to height on screen is ADisplayAspect.
    void SetPicture(const QImage& AImage, double ADisplayAspect);
    // Hides the picture and lets it go.
    void ClearPicture();
    const QImage& Picture() const { return FImage; }
    // Where the picture lies in the widget, in its own coordinates.
    QRectF PictureRect() const;

protected:
    void paintEvent(QPaintEvent* AEvent) override;

private:
    QImage FImage;
    double FDisplayAspect = 1;
};
