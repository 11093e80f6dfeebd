#include "device/sim/SimInputs.h"

#include "conditions/TextNumbers.h"
#include "device/sim/SimLink.h"

std::unique_ptr<CSimInputs> CSimInputs::ForLink(ILinkLibrary& link) {
    auto* simulated = dynamic_cast<CSimLink*>(&link);
    return simulated != nullptr ? std::make_unique<CSimInputs>(*simulated) : nullptr;
}

std::vector<std::pair<std::string, std::string>> CSimInputs::Recorders() const {
    std::vector<std::pair<std::string, std::string>> recorders;
    for (CSimRecorder* recorder : m_link.GetRecorders())
        recorders.emplace_back(recorder->GetAddress() + "  " + recorder->GetName(),
                               recorder->GetAddress());
    return recorders;
}

std::vector<CSimInputs::Place> CSimInputs::Channels(const std::string& address) const {
    std::vector<Place> places;
    if (CSimRecorder* recorder = m_link.FindRecorder(address)) {
        for (const auto& [slot, count] : recorder->GetChannelCounts()) {
            for (int channel = 0; channel < count; ++channel)
                places.emplace_back(slot, channel);
        }
    }
    return places;
}

bool CSimInputs::Set(const std::string& address, Place place, double value, double noise) {
    CSimRecorder* recorder = m_link.FindRecorder(address);
    return recorder != nullptr &&
           recorder->SetInput(place.first, place.second, CSimInput{value, noise});
}

bool CSimInputs::Remove(const std::string& address, Place place) {
    CSimRecorder* recorder = m_link.FindRecorder(address);
    return recorder != nullptr && recorder->SetInput(place.first, place.second, std::nullopt);
}

std::vector<std::string> CSimInputs::Describe() const {
    std::vector<std::string> lines;
    for (CSimRecorder* recorder : m_link.GetRecorders()) {
        for (const auto& [slot, count] : recorder->GetChannelCounts()) {
            for (int channel = 0; channel < count; ++channel) {
                if (const std::optional<CSimInput> input = recorder->GetInput(slot, channel))
                    lines.push_back(recorder->GetAddress() +
                                    FormatText("  %d-%d:  %.4f +- %.4f", slot, channel + 1,
                                               input->value, input->noise));
            }
        }
    }
    return lines;
}
