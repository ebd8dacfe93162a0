#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class QFrame;
class QImage;
class QKeyEvent;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QScrollArea;
class QSlider;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QTimer;
class TAniIndicator;
class TClickPanel;
class TCoverRectangle;
class THeaderTabBar;
class TImageViewer;
class TOpenDialog;
class TScreenshotListView;
class TScreenshotThumbnails;
class TScreenshotWriter;
class TStyleButton;
class TVlcPlayer;
struct TScreenshotCopy;
struct TScreenshotReceiver;

// The main window: the videos of one media folder, the chosen video, and the
// screenshots taken from it. One class whose facets live in their own source
// files: TfrmMain.cpp (creation, destruction, event dispatch),
// TfrmMain_Layout.cpp (the controls), TfrmMain_FileList.cpp (media folder and
// file list), TfrmMain_Screenshots.cpp (screenshots and their thumbnails),
// TfrmMain_Playback.cpp (playback, stepping and the timeline),
// TfrmMain_View.cpp (view switching and the video surface).
class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend struct TfrmMainAccess;
    friend struct TfrmMainBenchAccess;

    // Header tabs, by index in TabControl1_Header (also the page index of TabControl2_Body).
    static constexpr int TabItem1H_Video = 0;
    static constexpr int TabItem2H_Screenshot = 1;

    // --- Creation and destruction (TfrmMain.cpp)
    void FormCreate();
    void FormDestroy();
    // Queues AAction on the idle-time scheduler to run ADelay ms from now. The
    // scheduler runs due tasks when the event loop goes idle; a wake-up at the
    // due time lets that happen then instead of at the next timer tick.
    void Idle_Execute(std::function<void()> AAction, quint32 ADelay);

    // --- Layout (TfrmMain_Layout.cpp)
    void Layout_Build();
    void Layout_BuildLeftColumn();
    void Layout_BuildRightArea();
    void Layout_BuildStatusBar();
    void Layout_PlaceVolume();
    // A short message at the left of the status bar, beside the timeline,
    // until it is cleared. A name in it (sName, for the "%1" of sMsg) shows
    // as plain text, shortened in its middle so that the timeline keeps some
    // room, and whole in the tooltip.
    void StatusBar_ShowMessage(const QString& sMsg, const QString& sName = QString());
    void StatusBar_ClearMessage();
    // Fits the message to the bar's width again.
    void StatusBar_FitMessage();
    // The timeline in milliseconds, held as single-precision floats like the
    // engine's times are shown; QSlider itself holds whole numbers.
    float Timeline_Value() const;
    void Timeline_SetValue(float AValue);
    float Timeline_Maximum() const;
    void Timeline_SetMaximum(float AMaximum);
    void Timer1Timer();
    void tbVolumeChange();
    void ListViewScreenshotsItemClickEx(int AIndex);
    void ButtonItemAddClick();

    // --- Media folder and file list (TfrmMain_FileList.cpp)
    QString LibraryPath_Default();
    void FileList_Update();
    void FileList_Display(QListWidgetItem* AItem);
    // The full path of a list item's file.
    QString FileList_Path(const QListWidgetItem* AItem) const;
    // True for items that name a file: listed, and not the group header.
    bool FileList_IsFile(const QListWidgetItem* AItem) const;
    // The time labels' texts while no time is known for the displayed file.
    void TimeLabels_Reset();
    void BusyCover_Show();
    void BusyCover_Hide();
    void Button1Click();
    void Panel1Click();
    void ListBoxFilesKeyDown(QKeyEvent* AEvent);
    void ListBoxFilesItemClick(QListWidgetItem* AItem);

    // --- Screenshots (TfrmMain_Screenshots.cpp)
    // Makes the thumbnail loader and the screenshot writer, and connects the
    // screenshot controls.
    void Screenshots_Create();
    // Has the displayed video's frame written under its next free screenshot
    // number by the screenshot writer; the list follows once it is written.
    void ButtonScreenshotClick();
    void Screenshots_Take();
    // A screenshot has been written as sFileName, or one awaited came to
    // nothing (sFileName empty): the list is made anew.
    void Screenshots_Written(const QString& sFileName);
    // At close: nothing more is asked, run or reported; the screenshots
    // under way get a short while to finish and are given up after that.
    // Safe to call again.
    void Screenshots_Close();
    // The bin and the Delete key: the selected screenshot.
    void ButtonDeleteScreenshotClick();
    // Asks whether to delete the screenshot sFileName and deletes that file
    // when the answer is Yes, whatever the list does meanwhile.
    void Screenshot_Delete(const QString& sFileName);
    void ListViewScreenshotsChange();
    // Ctrl+C: the screenshot selected in the focused thumbnail list, else the
    // one the Screenshot view shows, else on the Video view the displayed
    // video's frame on screen, the picture S would save.
    void Screenshots_Copy();
    // Puts the screenshot sFileName on the clipboard: its file and its picture.
    void Screenshot_CopyFile(const QString& sFileName);
    void Screenshots_CopyFrame();
    // Makes a copy with AMake on the decode threads, ahead of the thumbnails
    // waiting there; Screenshots_Copied follows.
    void Screenshots_StartCopy(std::function<TScreenshotCopy()> AMake);
    // What pool work hands back to the window, run on the GUI thread.
    using TScreenshotsDeliver = std::function<void(TfrmMain&)>;
    // Runs AWork on the decoding pool, ahead of the thumbnails waiting there,
    // and what it returns on the GUI thread while the window is open.
    void Screenshots_OnPool(std::function<TScreenshotsDeliver()> AWork);
    // The copy number ACopy is made: on the clipboard unless a later one was
    // asked for meanwhile.
    void Screenshots_Copied(quint64 ACopy, const TScreenshotCopy& ACopied);
    // The menu of the screenshot sFileName: Open, Show in folder, Copy, Delete.
    void Screenshot_Menu(const QString& sFileName, const QPoint& AGlobalPos);
    void ListViewScreenshotsContextMenu(int AIndex, const QPoint& AGlobalPos);
    void ImageViewerScreenshotContextMenu(const QPoint& APos);
    // Blanks the viewer: it shows no screenshot.
    void Screenshots_ClearViewer();
    void Screenshots_Clear();
    void Screenshots_Header_Add();
    void Screenshot_Add(const QImage& bmp, const QString& sFileName);
    void Screenshots_UpdateFromFile(const QString& sFilename);
    void Screenshot_Display(int AIndex);
    // The picture decoded for the viewer's request ARequest.
    void Screenshot_Decoded(quint64 ARequest, const QImage& APicture);
    // Hands a thumbnail decoded off the GUI thread to the rows of its file.
    void Screenshots_ThumbnailReady(const QString& sFilePath, const QImage& AImage);

    // --- Playback and timeline (TfrmMain_Playback.cpp)
    class TKeyPreview;
    // Connects the playback buttons, the timeline and the window's key preview.
    void Playback_Bind();
    void bPlayClick(QObject* Sender);
    void b10SecBackwardClick(QObject* Sender);
    void b10SecForwardClick(QObject* Sender);
    void tbProcessTracking();
    void Player_Start();
    void Player_Stop();
    // True when the engine's media is the file sFileName.
    bool Player_IsLoaded(const QString& sFileName);
    // Ends the first-frame rest of a newly started file: pauses on its first
    // frame and removes the busy cover.
    void Player_Rest();
    void EvOnMediaPlayerVideoOutChanged(QObject* Sender, int AVideoOutputs);
    // Watches the new playback of a chosen file: one that shows no progress
    // for a long while cannot be played.
    void Player_WatchPlaying();
    // The engine reports that it is opening or buffering the media.
    void EvOnMediaPlayerProgress(QObject* Sender);
    // Ends the wait for a video that cannot be played: no cover, no time,
    // and the status bar says so.
    void Player_CannotPlay();
    // The engine gave up on the media, or came to its end: before it ever
    // reported playing, the video cannot be played.
    void Player_EndedUnplayed();
    void EvOnMediaPlayerEncounteredError(QObject* Sender);
    void EvOnMediaPlayerEndReached(QObject* Sender);
    void EvOnMediaPlayerPlaying(QObject* Sender);
    void EvOnMediaPlayerTimeChanged(QObject* Sender, qint64 time);
    // Keeps playback silent once the engine's audio output exists.
    void EvOnMediaPlayerAudioVolume(QObject* Sender, float volume);
    // Volume 0 and mute on the engine's audio output, tried again up to
    // ATriesLeft times while the output cannot be set yet.
    void Player_Silence(int ATriesLeft);
    // Every key pressed anywhere in the window comes here before the focused
    // control; true when the window used it.
    bool KeyDown(QKeyEvent* AEvent);
    // A media time as "h:nn:ss-zzz" with the locale's time separator, whole
    // days dropped; a negative (unknown) time gives the labels' "-:--:------".
    static QString MediaTime_Text(qint64 AMs);

    // --- View switching and video surface (TfrmMain_View.cpp)
    // Connects the header tabs and the splitter.
    void View_Bind();
    // Creation step 3: the engine from "Vlc/" beside the executable.
    void VideoSurface_LoadEngine();
    // Creation steps 7 and 8: the player control with the window's handlers,
    // embedded over PanelMedia.
    void VideoSurface_Create();
    // Puts the player's native window at ARect, above the window's controls
    // and below the volume bar.
    void VideoSurface_Place(const QRectF& ARect);
    // Lays the player's native window over PanelMedia / shrinks it to 1 x 1 at PanelMedia's corner.
    void VideoSurface_Show();
    void VideoSurface_Hide();
    // PanelMedia's rectangle in the window's coordinates, after pending layout has been done.
    QRectF PanelMedia_AbsoluteRect();
    // Makes ATab the active header tab, when it is not already, and runs the change handler.
    void TabControl1_Header_Activate(int ATab);
    void TabControl1_HeaderChange(QObject* Sender);
    void FormResize(QObject* Sender);
    void Splitter1MouseDown();
    void Splitter1MouseMove();
    void Splitter1MouseUp();

    // --- Fields
    // The window alone owns the player; FormDestroy frees it before the engine is unloaded.
    std::unique_ptr<TVlcPlayer> FPlayer;
    qint64 FEndPosition = -1;
    qint64 FStartPosition = 0;
    QString FLibraryPath;
    bool FProcessTrackIgnore = false;
    // The video whose screenshots the thumbnail list shows.
    QString FFilenameLast;
    // The displayed video, which playback and screenshots concern, whatever
    // the list highlights; empty until the first one.
    QString FFileName;
    bool FStopImmediately = false;
    bool FProcessTrackDragging = false;
    // A new playback has been started and has not reported playing yet.
    bool FPlayingAwaited = false;
    QTimer* FPlayingWatchdog = nullptr;
    // Runs while the first-frame rest waits for the engine's video output.
    QTimer* FFirstPictureWait = nullptr;
    TScreenshotThumbnails* FThumbnails = nullptr;
    // Writes the screenshots; what must see them done waits behind them there.
    TScreenshotWriter* FScreenshotWriter = nullptr;
    // Where the viewer's decoding and the copies report; emptied when the
    // window closes.
    std::shared_ptr<TScreenshotReceiver> FScreenshotReceiver;
    // The screenshot the delete question is about while it is open.
    QString FScreenshotAsked;
    // Pictures asked of the viewer; only the last one asked is shown.
    quint64 FViewerRequests = 0;
    // The viewer's picture is being decoded.
    bool FViewerLoading = false;
    // The screenshot the viewer shows; empty while it is blank.
    QString FScreenshotShown;
    // The copies asked for so far; only the last one reaches the clipboard.
    quint64 FCopyCount = 0;
    // The window has been closed: nothing more is started or run.
    bool FClosing = false;
    // The status bar's message, and the name in it.
    QString FStatusMessage;
    QString FStatusName;

    // --- Controls, top-down (each also carries its name as object name)
    QWidget* Panel6 = nullptr;
    QWidget* Rectangle2 = nullptr;
    QLabel* Image1 = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    QLabel* LabelStatusMessage = nullptr;
    QLabel* LabelMediaTime = nullptr;
    QLabel* LabelMediaDuration = nullptr;
    QSlider* tbProcess = nullptr;

    QSplitter* Splitter1 = nullptr;

    QScrollArea* ScrollBox1 = nullptr;
    QWidget* PanelHead_Control = nullptr;
    TStyleButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBoxFiles = nullptr;
    TClickPanel* Panel1 = nullptr;
    QWidget* Layout1 = nullptr;
    TStyleButton* bPlay = nullptr;
    TStyleButton* b10SecBackward = nullptr;
    TStyleButton* b1SecBackward = nullptr;
    TStyleButton* b1SecForward = nullptr;
    TStyleButton* b10SecForward = nullptr;
    QFrame* Panel2 = nullptr;
    QWidget* Layout2 = nullptr;
    TStyleButton* ButtonScreenshot = nullptr;
    TStyleButton* ButtonDeleteScreenshot = nullptr;
    TScreenshotListView* ListViewScreenshots = nullptr;

    QWidget* Panel3 = nullptr;
    THeaderTabBar* TabControl1_Header = nullptr;
    QStackedWidget* TabControl2_Body = nullptr;
    QWidget* TabItem1B_Video = nullptr;
    QWidget* Rectangle1 = nullptr;
    QWidget* PanelMedia = nullptr;
    QWidget* TabItem2B_Screenshot = nullptr;
    QWidget* Panel4 = nullptr;
    TStyleButton* ButtonItemAdd = nullptr;
    TStyleButton* ButtonItemDelete = nullptr;
    QWidget* Rectangle3 = nullptr;
    TImageViewer* ImageViewerScreenshot = nullptr;
    TCoverRectangle* RectangleCover = nullptr;
    TAniIndicator* AniIndicatorCover = nullptr;

    QSlider* tbVolume = nullptr;

    TOpenDialog* OpenDialogFolder = nullptr;
    QTimer* Timer1 = nullptr;
};
