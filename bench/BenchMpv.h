#pragma once

// mpv, the peer the benchmarks compare with, paused on a video and driven
// over its IPC socket as a reviewer would use it. Installed for benchmarks
// only; a benchmark skips it when it is missing.

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <optional>
#include <thread>

class TMpv
{
public:
    // How long one answer of mpv is waited for: a loaded machine is slow.
    static constexpr int AnswerLimitMs = 60000;

    static bool Installed() { return !QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty(); }

    ~TMpv()
    {
        FSocket.abort();
        FProcess.terminate();
        if (!FProcess.waitForFinished(5000))
            FProcess.kill();
    }

    // Starts mpv paused on sVideo (none: idle) with AOutput's arguments for
    // its video output ("--vo=null" when nothing is to be seen), and returns
    // once sVideo's first frame is decoded.
    bool Start(const QString& sVideo, const QStringList& AOutput = {QStringLiteral("--vo=null")})
    {
        const QString socket = FDir.filePath(QStringLiteral("mpv.sock"));
        QStringList args {"--no-config", "--idle", "--pause", "--no-audio", "--screenshot-png-compression=1",
                          "--input-ipc-server=" + socket};
        args += AOutput;
        if (!sVideo.isEmpty())
            args << sVideo;
        FProcess.start(QStringLiteral("mpv"), args);
        if (!FProcess.waitForStarted(10000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (FSocket.state() != QLocalSocket::ConnectedState) {
            if (clock.elapsed() > 10000 || FProcess.state() == QProcess::NotRunning)
                return false;
            FSocket.connectToServer(socket);
            if (!FSocket.waitForConnected(100))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // The file's own first frame is decoded before any seek is asked for,
        // so that its report is not taken for the seek's.
        if (!sVideo.isEmpty())
            NextEvent(QStringLiteral("playback-restart"), 3000);
        return true;
    }

    // Seeks to exactly ASeconds and returns once that frame is decoded and
    // mpv rests on it.
    bool SeekExact(double ASeconds)
    {
        FEvents.clear();
        if (!Command({QStringLiteral("seek"), ASeconds, QStringLiteral("absolute+exact")}))
            return false;
        while (NextEvent(QStringLiteral("playback-restart"), AnswerLimitMs)) {
            const std::optional<QJsonValue> at = Command({QStringLiteral("get_property"), QStringLiteral("time-pos")});
            if (at && std::abs(at->toDouble() - ASeconds) < 0.0005)
                return true;
        }
        return false;
    }

    // Writes the frame mpv rests on to sFile; returns once mpv has answered.
    bool Screenshot(const QString& sFile)
    {
        return bool(Command({QStringLiteral("screenshot-to-file"), sFile, QStringLiteral("video")}));
    }

    // Sends ACommand without waiting for its answer, as a key bound to it
    // would.
    void Send(const QJsonArray& ACommand)
    {
        FSocket.write(QJsonDocument(QJsonObject {{QStringLiteral("command"), ACommand}}).toJson(QJsonDocument::Compact)
                      + '\n');
        FSocket.flush();
    }

    // Sends a command and waits for its answer; events that come meanwhile
    // are kept for NextEvent.
    std::optional<QJsonValue> Command(const QJsonArray& ACommand)
    {
        const int id = ++FRequest;
        const QJsonObject request {{QStringLiteral("command"), ACommand}, {QStringLiteral("request_id"), id}};
        FSocket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        FSocket.flush();
        QJsonObject message;
        while (ReadMessage(message, AnswerLimitMs)) {
            if (message.contains(QStringLiteral("event")))
                FEvents << message.value(QStringLiteral("event")).toString();
            else if (message.value(QStringLiteral("request_id")).toInt() == id) {
                if (message.value(QStringLiteral("error")).toString() != QLatin1String("success"))
                    return std::nullopt;
                return message.value(QStringLiteral("data"));
            }
        }
        return std::nullopt;
    }

    // Reads what mpv has said so far without waiting, so that its socket
    // does not fill while nothing is asked of it.
    void Drain()
    {
        QJsonObject message;
        FSocket.waitForReadyRead(0);
        while (FSocket.canReadLine() && ReadMessage(message, 0)) {
        }
    }

private:
    bool NextEvent(const QString& sName, int ALimitMs)
    {
        QElapsedTimer clock;
        clock.start();
        QJsonObject message;
        while (!FEvents.contains(sName)) {
            const int left = ALimitMs - int(clock.elapsed());
            if (left <= 0 || !ReadMessage(message, left))
                return false;
            if (message.contains(QStringLiteral("event")))
                FEvents << message.value(QStringLiteral("event")).toString();
        }
        FEvents.remove(0, FEvents.indexOf(sName) + 1);
        return true;
    }

    bool ReadMessage(QJsonObject& AMessage, int ALimitMs)
    {
        while (!FSocket.canReadLine()) {
            if (!FSocket.waitForReadyRead(ALimitMs))
                return false;
        }
        AMessage = QJsonDocument::fromJson(FSocket.readLine()).object();
        return true;
    }

    QTemporaryDir FDir;
    QProcess FProcess;
    QLocalSocket FSocket;
    QStringList FEvents;
    int FRequest = 0;
};
