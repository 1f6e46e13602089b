#pragma once

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Tests never read or write the user's own settings: the standard locations point into a test
// folder of their own.
inline const bool StandardPathsInTestMode = [] {
    QStandardPaths::setTestModeEnabled(true);
    return true;
}();

// Answers the modal windows that open while a test runs: every few milliseconds it looks for the
// active modal window and hands it to the answer, which closes it. Counts what it answered.
class TModalAnswerer : public QObject {
public:
    using Answer = std::function<void(QWidget*)>;

    explicit TModalAnswerer(Answer answer, int timeoutMs = 5000)
        : Respond(std::move(answer))
        , Deadline(timeoutMs) {
        connect(&Poll, &QTimer::timeout, this, &TModalAnswerer::Check);
        Poll.start(5);
    }

    int Answered = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The same dialog may open again later: answer each showing once.
        if (watched == Last && event->type() == QEvent::Hide)
            Last = nullptr;
        return false;
    }

private:
    void Check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && modal != Last) {
            Last = modal;
            modal->installEventFilter(this);
            ++Answered;
            Respond(modal);
            return;
        }
        if (!modal)
            Last = nullptr;
        if (Deadline.hasExpired()) {
            // A test never hangs on a window nobody answers.
            if (modal)
                modal->close();
            Poll.stop();
        }
    }

    Answer Respond;
    QDeadlineTimer Deadline;
    QTimer Poll;
    QPointer<QWidget> Last;
};

// A folder that stands in for the program's directory, with files written into it.
class TProgramFolder {
public:
    QString Path() const { return Dir.path(); }
    QString ProgramFile() const { return Dir.filePath(QStringLiteral("fingerwise")); }
    QString FilePath(const QString& name) const { return Dir.filePath(name); }

    QString Write(const QString& name, const QByteArray& contents) const {
        QFile file(Dir.filePath(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(contents);
        return file.fileName();
    }

    QByteArray Read(const QString& name) const {
        QFile file(Dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir Dir;
};

// The bytes of a picture saved as a BMP file.
inline QByteArray BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The layout files shipped in data/, in name order: every one that is there, so that new layouts
// are tested as soon as they are added.
inline QStringList ShippedLayoutFiles() {
    const QDir data(QStringLiteral(FW_DATA_DIR));
    QStringList files;
    for (const QString& name : data.entryList({QStringLiteral("*.kb")}, QDir::Files, QDir::Name))
        files << data.filePath(name);
    return files;
}
