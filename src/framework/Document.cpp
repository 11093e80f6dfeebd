#include "framework/Document.h"

#include <algorithm>

void CDocument::AddView(IView* view) {
    if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(IView* view) {
    std::erase(m_views, view);
}

void CDocument::UpdateAllViews(IView* sender, int hint, const CUpdateData* data) {
    const std::vector<IView*> views = m_views;
    for (IView* view : views) {
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint, data);
    }
}
