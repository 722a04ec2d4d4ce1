#pragma once
// The brand label. It shows the brand line as it is written, centred when it
// fits and, when it does not, from its start and cut at the right, so that
// the start can always be read. It measures the line when it paints, not
// when the line is set at start-up: measuring text loads the font database,
// which nothing else needs before the window shows.

#include <QLabel>

class LineaDeMarca : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* evento) override;
};
