// The voice notes of a monitor window: the recorder with its microphone (the simulated one in
// demo mode) and the document it marks, living and stopping with the window.
#pragma once

#include "acquisition/DocVoiceHost.h"
#include "framework/AudioInput.h"
#include "monitor/VoiceRecorder.h"

#include <QObject>

#include <memory>

class CQtMessageTarget;
class CZT300SetDoc;
class IClock;
class IPrompt;
class QWidget;

// The microphone of the program: the simulated one (loud three seconds in seven) in demo mode.
std::unique_ptr<IAudioInput> CreateAudioInput(bool demo);

class CVoiceNotes : public QObject {
    Q_OBJECT

public:
    // Made a child of the monitor window `frame`, so it stops listening when the window goes.
    static CVoiceNotes* Attach(QWidget* frame, CZT300SetDoc& doc, IPrompt& prompt,
                               const IClock& clock, std::unique_ptr<IAudioInput> input);
    static CVoiceNotes* Find(const QWidget* frame);

    ~CVoiceNotes() override;

    // The "Voice" command.
    void Toggle() { m_recorder->Toggle(); }
    bool IsListening() const { return m_recorder->IsListening(); }
    CVoiceRecorder& Recorder() { return *m_recorder; }

private:
    CVoiceNotes(QWidget* frame, CZT300SetDoc& doc, IPrompt& prompt, const IClock& clock,
                std::unique_ptr<IAudioInput> input);

    std::unique_ptr<IAudioInput> m_input;
    CDocVoiceHost m_host;
    CQtMessageTarget* m_target;
    std::unique_ptr<CVoiceRecorder> m_recorder;
};
