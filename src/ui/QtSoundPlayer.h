// Playing the program's wave files (the mark sound) on the desktop's sound output.
#pragma once

#include "framework/SoundPlayer.h"

#include <QObject>

class QSoundEffect;

class CQtSoundPlayer : public QObject, public ISoundPlayer {
    Q_OBJECT

public:
    explicit CQtSoundPlayer(QObject* parent = nullptr);

    // Safe from any thread: the sound starts on the UI thread. A missing file is skipped.
    void PlayAsync(const std::string& path) override;

private:
    void Play(const QString& path);

    QSoundEffect* m_effect = nullptr; // made when the first sound plays
};
