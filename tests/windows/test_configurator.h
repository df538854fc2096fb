// The simulator's configurator object, owned by one test.
#pragma once

#include "host_objects.h"

namespace tintmark::test {

class TestConfigurator {
public:
    explicit TestConfigurator(bool offerEvents) : obj_(new cfgsim::ConfiguratorObject(offerEvents)) {}
    ~TestConfigurator() { obj_->Release(); }
    TestConfigurator(const TestConfigurator&) = delete;
    TestConfigurator& operator=(const TestConfigurator&) = delete;

    IConfigurator* get() const { return obj_; }
    cfgsim::ConnectionPoint& point() const { return obj_->events; }
    LONG refs() const { return obj_->RefCount(); }

private:
    cfgsim::ConfiguratorObject* obj_;
};

}  // namespace tintmark::test
