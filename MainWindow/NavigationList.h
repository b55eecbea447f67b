#pragma once

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QListView>
#include <QStringList>
#include <QStyledItemDelegate>
#include <array>
#include <functional>

// The navigation list at the window's left edge: six entries whose texts,
// pictures and hints come from the window at the moment they are shown.
// A change of the focused entry can be refused; the highlight then stays.
class NavigationList : public QListView {
    Q_OBJECT
public:
    static constexpr int NodeCount = 6;
    static constexpr int SeparatorNode = 1;
    static constexpr int NodeHeight = 36;
    static constexpr int SeparatorHeight = 5;
    static constexpr int PictureWidth = 30;
    static constexpr int PictureHeight = 34;
    // The design width, kept until the captions are known.
    static constexpr int ListWidth = 146;

    struct Providers {
        std::function<QString(int node)> text;
        std::function<QString(int node)> hint;
        std::function<QPixmap(int node)> picture;
    };

    explicit NavigationList(QWidget *parent = nullptr);

    void setProviders(Providers providers);
    // Decides whether the focus may move from oldNode (-1: none) to newNode.
    void setChangeFilter(std::function<bool(int oldNode, int newNode)> filter);
    // Folder holding Selected.bmp and Hover.bmp, read at each paint.
    void setPaintFolder(const QString &folder);

    void setNodeEnabled(int node, bool enabled);
    bool isNodeEnabled(int node) const;
    void setNodeVisible(int node, bool visible);
    // The providers' answers changed (another language): every entry is asked and painted anew.
    void refreshEntries();

    // One width for good: as wide as the widest caption given (those of all languages)
    // needs, so that the pages never shift sideways and keep all the room they can;
    // the design width without captions.
    void fitWidthToCaptions(const QStringList &captions);

    int focusedNode() const;
    int hotNode() const { return m_hotNode; }
    // Asks for the node through the change filter; the focused node ends up selected.
    void requestFocus(int node);

signals:
    // The focus moved to this node (accepted by the filter).
    void nodeFocused(int node);
    void focusLost();

protected:
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    class Model;
    class SelectionModel;
    class Delegate;
    Model *m_model;
    int m_hotNode = -1;
};

class NavigationList::Model : public QAbstractListModel {
public:
    explicit Model(QObject *parent) : QAbstractListModel(parent) { m_enabled.fill(true); }
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void refresh();

    Providers providers;
    std::array<bool, NodeCount> m_enabled;
};

class NavigationList::SelectionModel : public QItemSelectionModel {
public:
    SelectionModel(QAbstractItemModel *model, QObject *parent)
        : QItemSelectionModel(model, parent)
    {
    }
    void setCurrentIndex(const QModelIndex &index, SelectionFlags command) override;
    void select(const QModelIndex &index, SelectionFlags command) override;
    void select(const QItemSelection &selection, SelectionFlags command) override;

    std::function<bool(int, int)> filter;
    // While set, no change of the focused entry is taken.
    bool frozen = false;

private:
    bool onlyCurrentRow(const QItemSelection &selection) const;
};

class NavigationList::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(NavigationList *list) : QStyledItemDelegate(list), m_list(list) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QString folder;

private:
    void paintBackground(QPainter *painter, const QRect &rect, const QString &fileName) const;
    NavigationList *m_list;
};
