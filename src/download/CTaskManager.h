#pragma once
// What the driver needs of a set of tasks: hand one out, take one back.

class CTask;

class CTaskManager {
 public:
  virtual ~CTaskManager() = default;
  // The next task to download, marked as handed out; null when none is left.
  virtual CTask* getTask() = 0;
  virtual void addTodoTask(CTask* task) = 0;
  virtual void addDoneTask(CTask* task) = 0;
};
