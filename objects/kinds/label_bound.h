#pragma once

#include "custom_bound.h"

// A line of text on the panel; shows the text of any text word it receives.
class TLabelBound : public TCustomBound {
  Q_OBJECT
public:
  explicit TLabelBound(QWidget* mainWindow);
  QString Caption() const;

  void SetParentControl(QWidget* parent) override;
  QString GetRecord() override;
  void SetRecord(const QString& text) override;
  void PrefenceOpen(QObject* sender) override;
  void PrefenceChanged(QObject* sender) override;
  bool RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) override;
};
