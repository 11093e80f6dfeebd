#include "monitor/DocMaterials.h"

#include "conditions/ChCnd.h"
#include "framework/SettingsStore.h"

#include <algorithm>

void CDocMaterials::Restore(const ISettingsStore& store) {
    m_path = store.GetString(kSection, kPathKey, "");
    m_data = CMyMatData{};
    if (!m_path.empty())
        m_data.LoadFile(m_path);
}

void CDocMaterials::Remember(ISettingsStore& store) const {
    store.WriteString(kSection, kPathKey, m_path);
}

std::string CDocMaterials::Replace(const std::string& path) {
    std::string message = m_data.LoadFile(path);
    if (message.empty())
        m_path = path;
    return message;
}

ChannelLimitPair CDocMaterials::GetLimits(const CChCnd& channel) const {
    const std::array<std::string, 4>& mat = channel.m_mat;
    if (!mat[0].empty() || !mat[1].empty()) {
        const auto& items = m_data.m_items;
        const auto found =
            std::find_if(items.begin(), items.end(), [&mat](const CMaterialItem& item) {
                return item.m_material == mat[0] && item.m_id == mat[1];
            });
        if (found != items.end())
            return {ReadLimitText(found->m_max), ReadLimitText(found->m_min)};
    }
    return CMatLimits().GetLimits(channel);
}
