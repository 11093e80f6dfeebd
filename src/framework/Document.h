// The plain document of the program: title, path, modified flag and the views it updates.
#pragma once

#include "framework/View.h"

#include <string>
#include <vector>

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path) { m_pathName = path; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    void AddView(IView* view);
    void RemoveView(IView* view);
    const std::vector<IView*>& GetViews() const { return m_views; }

    // Tells every view but the sender; views may remove themselves while being told.
    void UpdateAllViews(IView* sender, int hint = 0, const CUpdateData* data = nullptr);

private:
    std::string m_title;
    std::string m_pathName;
    bool m_modified = false;
    std::vector<IView*> m_views;
};
