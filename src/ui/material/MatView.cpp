#include "ui/material/MatView.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"
#include "framework/UpdateHints.h"
#include "ui/dialogs/DialogText.h"
#include "ui/grid/GridCtrl.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <array>
#include <cmath>

namespace {

struct MatColumn {
    const char* header;
    int width;
    Qt::Alignment align;
};
const std::array<MatColumn, 6> kMatColumns{{{"No.", 40, Qt::AlignHCenter},
                                            {"Materials", 100, Qt::AlignHCenter},
                                            {"ID", 60, Qt::AlignHCenter},
                                            {"Unit", 60, Qt::AlignHCenter},
                                            {"MaxSpec.Value", 100, Qt::AlignRight},
                                            {"MinSpec.Value", 100, Qt::AlignRight}}};

} // namespace

CMatView::CMatView(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_prompt(prompt), m_chooseFile([this] {
          return QFileDialog::getOpenFileName(this, QString::fromLatin1(kDialogTitle),
                                              QStringLiteral("*.zai;*.csv"),
                                              QString::fromLatin1(kDialogFilter));
      }),
      m_path(new QLineEdit(this)), m_browse(new QPushButton(QStringLiteral("..."), this)),
      m_grid(new CGridCtrl(this)) {
    QFont font = this->font();
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    setFont(font);
    m_path->setObjectName(QStringLiteral("matPath")); // 1202
    m_path->setReadOnly(true);
    m_path->setFrame(true);
    m_browse->setObjectName(QStringLiteral("matBrowse")); // 1201
    m_grid->setObjectName(QStringLiteral("matGrid"));     // 1200
    m_grid->SetReadOnly(true);
    m_grid->setStyleSheet(QStringLiteral("QTableView { background: white; }"));
    connect(m_browse, &QPushButton::clicked, this, &CMatView::ChooseFile);
    m_doc.AddView(this);
    Rebuild();
}

CMatView::~CMatView() {
    m_doc.RemoveView(this);
}

void CMatView::OnUpdate(IView*, int hint, const CUpdateData*) {
    if (hint == UpdateHint::kConditionChanged)
        Rebuild();
}

void CMatView::ChooseFile() {
    const QString path = m_chooseFile();
    if (path.isEmpty())
        return;
    if (const std::string message = m_doc.GetMaterials().Replace(ToStdString(path));
        !message.empty()) {
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return;
    }
    Rebuild();
    // The digit lists colour their extremes against the new limits.
    m_doc.UpdateAllViews(this, UpdateHint::kMaxMinChanged);
}

void CMatView::Rebuild() {
    const CDocMaterials& materials = m_doc.GetMaterials();
    m_path->setText(ToQString(materials.GetPath()));
    const std::vector<CMaterialItem>& items = materials.GetData().m_items;
    m_grid->SetDimensions(static_cast<int>(items.size()) + 1, static_cast<int>(kMatColumns.size()),
                          1, 0);
    for (std::size_t column = 0; column < kMatColumns.size(); ++column) {
        GridCell cell;
        cell.text = QString::fromLatin1(kMatColumns[column].header);
        cell.align = Qt::AlignCenter;
        m_grid->Model().SetCell(0, static_cast<int>(column), cell);
        m_grid->SetColumnWidth(static_cast<int>(column), kMatColumns[column].width);
    }
    for (std::size_t row = 0; row < items.size(); ++row) {
        const CMaterialItem& item = items[row];
        const std::string texts[] = {FormatText("%i", static_cast<int>(row) + 1),
                                     item.m_material,
                                     item.m_id,
                                     item.m_unit,
                                     item.m_max,
                                     item.m_min};
        for (std::size_t column = 0; column < kMatColumns.size(); ++column) {
            GridCell cell;
            cell.text = ToQString(texts[column]);
            cell.align = kMatColumns[column].align | Qt::AlignVCenter;
            m_grid->Model().SetCell(static_cast<int>(row) + 1, static_cast<int>(column),
                                    std::move(cell));
        }
    }
}

void CMatView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

// The path field is one scroll bar high across the top, the button twice that wide beside it,
// and the grid fills the rest from 1.11 of that height down.
void CMatView::Arrange() {
    const int h = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int top = static_cast<int>(std::lround(1.11 * h));
    m_path->setGeometry(0, 0, std::max(0, width() - 2 * h), h);
    m_browse->setGeometry(std::max(0, width() - 2 * h), 0, 2 * h, h);
    m_grid->setGeometry(0, top, width(), std::max(0, height() - top));
}
