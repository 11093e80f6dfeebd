#include "ui/QtSoundPlayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

CQtSoundPlayer::CQtSoundPlayer(QObject* parent) : QObject(parent) {}

void CQtSoundPlayer::PlayAsync(const std::string& path) {
    const QString file = QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
    if (!QFileInfo::exists(file))
        return;
    QMetaObject::invokeMethod(
        this, [this, file] { Play(file); }, Qt::QueuedConnection);
}

void CQtSoundPlayer::Play(const QString& path) {
    if (m_effect == nullptr)
        m_effect = new QSoundEffect(this);
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->play();
}
