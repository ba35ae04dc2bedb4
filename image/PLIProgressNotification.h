// PLIProgressNotification.h: what a caller implements to hear how far a
// decode has got. The system passes none.
#pragma once

class PLIProgressNotification {
 public:
  virtual ~PLIProgressNotification() = default;
  // part: the share done, 0 to 1.
  virtual void OnProgress(double part) = 0;
};
