#include "class_window.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>

#include "catalogue.h"
#include "class_trend_charts.h"
#include "fair_bars_chart.h"
#include "gothic_font.h"
#include "odds_sheet_text.h"
#include "own_trend_chart.h"
#include "qt_layout.h"
#include "results_file.h"

namespace hashigoro {

namespace cs = class_sheet;

namespace {

// A small class is pooled at once; a large one in slices of the event loop.
constexpr int kFirstSliceMs = 50;
constexpr int kSliceMs = 30;

}  // namespace

ClassWindow::ClassWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ClassWindow"));
    setWindowTitle(ToQString(texts::Text(TextId::ClassTitle)));
    setFont(GothicFont(10.5, false));
    setAcceptDrops(true);
    // As large as the screen allows, up to 1040 × 700, its frame and title bar on the screen
    // too (a netbook's 1024 × 600); what does not fit then scrolls.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(1040, screen.width() - 16), std::min(700, screen.height() - 48));
    // Centred on it, frame and all, rather than cascaded off its lower edge.
    move(screen.left() + std::max(0, (screen.width() - width() - 16) / 2),
         screen.top() + std::max(0, (screen.height() - height() - 48) / 2));

    lines_ = new QPlainTextEdit;
    lines_->setObjectName(QStringLiteral("ClassLines"));
    lines_->setAccessibleName(ToQString(texts::Text(TextId::ClassLinesLabel)));
    auto* open = new QPushButton(ToQString(texts::Text(TextId::ClassOpenFiles)));
    auto* own = new QPushButton(ToQString(texts::Text(TextId::ClassAddOwn)));
    auto* pool = new QPushButton(ToQString(texts::Text(TextId::ClassPool)));
    auto* clear = new QPushButton(ToQString(texts::Text(TextId::ClassClear)));
    auto* save = new QPushButton(ToQString(texts::Text(TextId::ClassSaveCsv)));
    auto* saveTrend = new QPushButton(ToQString(texts::Text(TextId::ClassSaveTrendCsv)));
    summary_ = new QLabel;
    summary_->setWordWrap(true);
    // Plain text: a file's name is shown as it is, whatever marks it holds.
    summary_->setTextFormat(Qt::PlainText);
    leaveOut_ = new QPushButton(ToQString(texts::Text(TextId::ClassLeaveOut)));
    leaveOut_->setObjectName(QStringLiteral("ClassLeaveOut"));
    leaveOut_->hide();
    rejected_ = new QLabel;
    rejected_->setTextFormat(Qt::PlainText);
    rejected_->setWordWrap(true);
    rejected_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    group_ = new QComboBox;
    group_->setAccessibleName(ToQString(texts::Text(TextId::ClassGroupLabel)));
    table_ = new QTableWidget(10, 4);
    table_->setAccessibleName(ToQString(texts::Text(TextId::ClassChartTitle)));
    table_->setHorizontalHeaderLabels({ToQString(texts::Text(TextId::ClassLineHeader)),
                                       ToQString(texts::Text(TextId::ClassCountHeader)),
                                       ToQString(texts::Text(TextId::ClassShareHeader)),
                                       ToQString(texts::Text(TextId::ClassExactHeader))});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    table_->setMinimumHeight(11 * (QFontMetrics(font()).height() + 6) + 4);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verdicts_ = new QLabel;
    verdicts_->setWordWrap(true);
    trend_ = new ClassTrendCharts;
    own_ = new OwnTrendChart;
    own_->Load(ResultsFile(ResultsFile::DefaultPath()).Read());

    QStringList lines;
    for (int line = 1; line <= 10; ++line) {
        lines.append(QString::number(line));
    }
    const FairBarsChart bars = MakeFairBarsChart(ToQString(texts::Text(TextId::ClassChartTitle)),
                                                 ToQString(texts::Text(TextId::ClassShareSeries)),
                                                 ToQString(texts::Text(TextId::ExactSeries)), lines,
                                                 ToQString(texts::Text(TextId::ClassLineHeader)));
    shares_ = bars.first;
    exact_ = bars.second;
    chart_ = bars.view;
    chart_->setMinimumHeight(240);

    auto* buttons = new QGridLayout;
    buttons->addWidget(open, 0, 0);
    buttons->addWidget(own, 0, 1);
    buttons->addWidget(pool, 1, 0);
    buttons->addWidget(clear, 1, 1);
    buttons->addWidget(save, 2, 0);
    buttons->addWidget(saveTrend, 2, 1);
    auto* left = new QVBoxLayout;
    auto* linesLabel = new QLabel(ToQString(texts::Text(TextId::ClassLinesLabel)));
    linesLabel->setWordWrap(true);
    left->addWidget(linesLabel);
    left->addWidget(lines_, 1);
    left->addLayout(buttons);
    left->addWidget(summary_);
    left->addWidget(leaveOut_);
    left->addWidget(rejected_);
    auto* right = new QVBoxLayout;
    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(ToQString(texts::Text(TextId::ClassGroupLabel))));
    choice->addWidget(group_, 1);
    right->addLayout(choice);
    right->addWidget(table_);
    right->addWidget(chart_, 1);
    right->addWidget(verdicts_);
    auto* content = new QWidget;
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    // The settling and the experiments against the class below both, as wide as the window.
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(columns);
    layout->addWidget(trend_);
    layout->addWidget(own_);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ClassScroll"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(scroll);

    connect(open, &QPushButton::clicked, this, &ClassWindow::AskAndOpen);
    connect(own, &QPushButton::clicked, this, &ClassWindow::AddOwnResults);
    connect(pool, &QPushButton::clicked, this, &ClassWindow::PoolAndShow);
    connect(clear, &QPushButton::clicked, this, [this] {
        sheet_.Clear();
        lines_->clear();
        PoolAndShow();
    });
    connect(leaveOut_, &QPushButton::clicked, this, [this] {
        sheet_.LeaveOutPerhapsRepeated(!sheet_.LeavingOut());
        PoolAndShow();
    });
    connect(save, &QPushButton::clicked, this, [this] { AskAndSave(false); });
    connect(saveTrend, &QPushButton::clicked, this, [this] { AskAndSave(true); });
    connect(group_, &QComboBox::currentIndexChanged, this, &ClassWindow::ShowGroup);
    PoolAndShow();
}

void ClassWindow::AddText(const QString& text) {
    sheet_.SetText(lines_->toPlainText().toStdString());
    sheet_.AddText(text.toStdString());
    lines_->setPlainText(QString::fromStdString(sheet_.Text()));
    PoolAndShow();
}

void ClassWindow::AddFile(const QString& path) {
    QFile file(path);
    sheet_.SetText(lines_->toPlainText().toStdString());
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, ToQString(texts::Text(TextId::ClassTitle)),
                             ToQString(cs::CannotRead(path.toStdString())));
        return;
    }
    // No more than a class can have, and one byte more to tell: an endless device is read no
    // further.
    const QByteArray bytes = file.read(static_cast<qint64>(kMostClassBytes) + 1);
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (!sheet_.AddFile(
            name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        QMessageBox::warning(this, ToQString(texts::Text(TextId::ClassTitle)),
                             ToQString(cs::TooLarge(name)));
        return;
    }
    lines_->setPlainText(QString::fromStdString(sheet_.Text()));
    PoolAndShow();
}

void ClassWindow::AddOwnResults() {
    const ResultsFile file(ResultsFile::DefaultPath());
    const std::string own = file.Read();
    own_->Load(own);
    sheet_.SetText(lines_->toPlainText().toStdString());
    sheet_.AddOwnLines(own, file.ReadUnsaved(), file.UnsavedWhy());
    lines_->setPlainText(QString::fromStdString(sheet_.Text()));
    PoolAndShow();
}

void ClassWindow::PoolAndShow() {
    sheet_.SetText(lines_->toPlainText().toStdString());
    sheet_.StartPool();
    ContinuePooling(++pooling_, kFirstSliceMs);
}

void ClassWindow::ContinuePooling(int pooling, int sliceMs) {
    if (pooling != pooling_) {
        return;  // a newer pooling took its place
    }
    QElapsedTimer slice;
    slice.start();
    while (sheet_.PoolStep() && slice.elapsed() < sliceMs) {
    }
    if (sheet_.GroupsLeft() > 0) {
        // A large class goes on a rung count at a time, the window answering in between.
        summary_->setText(ToQString(texts::Text(TextId::ClassPooling)));
        QTimer::singleShot(0, this, [this, pooling] { ContinuePooling(pooling, kSliceMs); });
        return;
    }
    ShowPooled();
}

void ClassWindow::ShowPooled() {
    summary_->setText(QString::fromStdString(sheet_.Summary()));
    leaveOut_->setVisible(sheet_.PerhapsRepeated() > 0);
    leaveOut_->setText(
        ToQString(texts::Text(sheet_.LeavingOut() ? TextId::ClassTakeIn : TextId::ClassLeaveOut)));
    QString rejected;
    for (const std::string& line : sheet_.Rejected()) {
        rejected += QString::fromStdString(line) + '\n';
    }
    // Plain text: a line with <b> in it is shown as it was written.
    rejected_->setText(rejected.trimmed());
    const QSignalBlocker block(group_);
    group_->clear();
    for (const ClassGroup& group : sheet_.Groups()) {
        group_->addItem(QString::fromStdString(ClassSheet::GroupTitle(group)));
    }
    group_->setCurrentIndex(sheet_.LargestGroup());
    ShowGroup(sheet_.LargestGroup());
}

void ClassWindow::ShowGroup(int index) {
    if (index < 0 || index >= static_cast<int>(sheet_.Groups().size())) {
        table_->clearContents();
        verdicts_->clear();
        for (int c = 0; c < 10; ++c) {
            shares_->replace(c, 0);
            exact_->replace(c, 0);
        }
        trend_->Show(sheet_, -1);
        return;
    }
    const auto g = static_cast<std::size_t>(index);
    const ClassGroup& group = sheet_.Groups()[g];
    const std::vector<ClassSheet::TableRow> rows = sheet_.Table(g);
    for (int c = 0; c < 10; ++c) {
        const ClassSheet::TableRow& row = rows[static_cast<std::size_t>(c)];
        const std::string* cells[] = {&row.line, &row.count, &row.share, &row.exact};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(ToQString(*cells[column]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(c, column, item);
        }
        const auto i = static_cast<std::size_t>(c);
        shares_->replace(c, group.trials > 0 ? 100.0 * static_cast<double>(group.pooled[i]) /
                                                   static_cast<double>(group.trials)
                                             : 0.0);
        exact_->replace(c, 100 * group.exact[i]);
    }
    verdicts_->setText(QString::fromStdString(ClassSheet::Verdicts(group)));
    trend_->Show(sheet_, index);
}

QString ClassWindow::Summary() const {
    return summary_->text();
}

QString ClassWindow::VerdictText() const {
    return verdicts_->text();
}

void ClassWindow::AskAndOpen() {
    for (const QString& path : QFileDialog::getOpenFileNames(
             this, ToQString(texts::Text(TextId::ClassOpenFiles)).remove(QChar(0x2026)), {},
             QStringLiteral("CSV, text (*.csv *.txt);;* (*)"))) {
        AddFile(path);
    }
}

void ClassWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText()) {
        event->acceptProposedAction();
    }
}

void ClassWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            AddFile(url.toLocalFile());
        }
    } else {
        AddText(data->text());
    }
    event->acceptProposedAction();
}

void ClassWindow::AskAndSave(bool trend) {
    const QString path = QFileDialog::getSaveFileName(
        this,
        ToQString(texts::Text(trend ? TextId::ClassSaveTrendCsv : TextId::ClassSaveCsv))
            .remove(QChar(0x2026)),
        ToQString(trend ? cs::kTrendCsvFileName : cs::kCsvFileName), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        Save(path, trend ? sheet_.TrendCsv() : sheet_.Csv());
    }
}

bool ClassWindow::SaveCsv(const QString& path) {
    return Save(path, sheet_.Csv());
}

bool ClassWindow::SaveTrendCsv(const QString& path) {
    return Save(path, sheet_.TrendCsv());
}

bool ClassWindow::Save(const QString& path, const std::string& text) {
    QSaveFile file(path);
    const QByteArray csv = QByteArray::fromStdString(text);
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit()) {
        return true;
    }
    QMessageBox::warning(this, ToQString(texts::Text(TextId::ClassTitle)),
                         ToQString(odds_sheet::SaveFailed(path.toStdString())));
    return false;
}

}  // namespace hashigoro
