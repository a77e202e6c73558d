#pragma once

// Small helpers the main window's files share: named controls, list items, local paths.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace mipofc::formdetail {

inline QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

template <class W>
inline W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

inline QLabel* NewLabel(const char* name, const QString& caption) { return Named(new QLabel(caption), name); }

inline QComboBox* NewList(const char* name) {
  auto* list = Named(new QComboBox, name);
  list->setEditable(false);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return list;
}

inline QSpinBox* NewSpin(const char* name, int lo, int hi, int value) {
  auto* spin = Named(new QSpinBox, name);
  spin->setRange(lo, hi);
  spin->setValue(value);
  spin->setAccelerated(false);
  return spin;
}

inline QSlider* NewSlider(const char* name, int lo, int hi, int value) {
  auto* slider = Named(new QSlider(Qt::Horizontal), name);
  slider->setRange(lo, hi);
  slider->setSingleStep(1);
  slider->setPageStep(1);
  slider->setValue(value);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(1);
  return slider;
}

inline QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

inline std::vector<std::string> Utf8Items(const QComboBox* list) {
  std::vector<std::string> items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
  return items;
}

// Replaces a list's items only when they differ, then selects index (no change event either way).
inline void SetItems(QComboBox* list, const std::vector<std::string>& items, int index) {
  QStringList wanted;
  for (const auto& item : items) wanted << Q(item);
  if (Items(list) != wanted) {
    list->clear();
    list->addItems(wanted);
  }
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// A menu item named name whose triggering runs owner's handler.
template <class Owner>
inline QAction* AddItem(QMenu* menu, Owner* owner, const char* name, const QString& caption,
                        void (Owner::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  QObject::connect(action, &QAction::triggered, owner, handler);
  return action;
}

inline std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

inline void KeepSpaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}


}  // namespace mipofc::formdetail
