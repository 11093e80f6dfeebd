#include "ui/voice/VoiceNotes.h"

#include "monitor/SimAudioInput.h"
#include "ui/QtMessageTarget.h"
#include "ui/voice/QtAudioInput.h"

#include <QWidget>

std::unique_ptr<IAudioInput> CreateAudioInput(bool demo) {
    if (demo)
        return std::make_unique<CSimAudioInput>(CSimAudioInput::Pattern(3, 4), 1000);
    return std::make_unique<CQtAudioInput>();
}

CVoiceNotes* CVoiceNotes::Attach(QWidget* frame, CZT300SetDoc& doc, IPrompt& prompt,
                                 const IClock& clock, std::unique_ptr<IAudioInput> input) {
    return new CVoiceNotes(frame, doc, prompt, clock, std::move(input));
}

CVoiceNotes* CVoiceNotes::Find(const QWidget* frame) {
    return frame != nullptr ? frame->findChild<CVoiceNotes*>(QString(), Qt::FindDirectChildrenOnly)
                            : nullptr;
}

CVoiceNotes::CVoiceNotes(QWidget* frame, CZT300SetDoc& doc, IPrompt& prompt, const IClock& clock,
                         std::unique_ptr<IAudioInput> input)
    : QObject(frame), m_input(std::move(input)), m_host(doc, clock),
      m_target(new CQtMessageTarget(
          [this](int id, std::intptr_t wparam, std::intptr_t lparam) {
              if (id == CVoiceRecorder::kMessage && m_recorder)
                  m_recorder->OnBufferFull(wparam, lparam);
          },
          this)),
      m_recorder(std::make_unique<CVoiceRecorder>(*m_input, m_host, prompt, clock, *m_target)) {}

CVoiceNotes::~CVoiceNotes() {
    // The recorder stops the microphone before the target of its messages goes.
    m_recorder.reset();
}
