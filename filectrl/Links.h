#pragma once
// The links between the drive selector, the directory list and the file list: each control
// drives at most one other, and each driven control has one driver.

// Makes `next` the control that `self` drives, through `follower` (self's link) and `leader`
// (the driven control's link back). The control driven before is let go; a driver that drove
// `next` before lets it go through `unlink`. Each of the two is told when the other is destroyed.
template <class Leader, class Follower>
void LinkFollower(Leader* self, Follower*& follower, Follower* next, Leader* Follower::*leader,
                  void (Leader::*unlink)(Follower*)) {
  if (follower) {
    if (follower->*leader == self) follower->*leader = nullptr;
    self->RemoveFreeNotification(follower);
  }
  follower = next;
  if (!next) return;
  if (next->*leader && next->*leader != self) ((next->*leader)->*unlink)(nullptr);
  next->*leader = self;
  self->FreeNotification(next);
}
