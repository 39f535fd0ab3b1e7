#include "platform/UNotificationCenter.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct Registration {
    UNotificationCenter::ObserverId id;
    const void* observer;
    QString name;
    const void* sender;
    UNotificationCenter::Handler handler;
    // Cleared on removal, so a post already under way skips the registration.
    std::atomic<bool> active { true };

    bool matches(const UNotification& notification) const
    {
        return (name.isEmpty() || name == notification.name)
            && (!sender || sender == notification.sender);
    }
};

} // namespace

class UNotificationCenter::Registry {
public:
    ObserverId add(const void* observer, const QString& name, const void* sender, Handler handler)
    {
        std::lock_guard lock(mutex_);
        auto registration = std::make_shared<Registration>();
        registration->id = ++lastId_;
        registration->observer = observer;
        registration->name = name;
        registration->sender = sender;
        registration->handler = std::move(handler);
        registrations_.push_back(std::move(registration));
        return lastId_;
    }

    template <typename Predicate> void removeIf(Predicate predicate)
    {
        std::lock_guard lock(mutex_);
        std::erase_if(registrations_, [&](const std::shared_ptr<Registration>& registration) {
            if (!predicate(*registration))
                return false;
            registration->active = false;
            return true;
        });
    }

    // The registrations that a post of `notification` calls, in the order they were added.
    std::vector<std::shared_ptr<Registration>> matching(const UNotification& notification) const
    {
        std::vector<std::shared_ptr<Registration>> result;
        std::lock_guard lock(mutex_);
        for (const auto& registration : registrations_) {
            if (registration->matches(notification))
                result.push_back(registration);
        }
        return result;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Registration>> registrations_;
    ObserverId lastId_ = 0;
};

UNotificationCenter::UNotificationCenter()
    : registry_(std::make_shared<Registry>())
{
}

UNotificationCenter::~UNotificationCenter() = default;

UNotificationCenter& UNotificationCenter::defaultCenter()
{
    static UNotificationCenter center;
    return center;
}

UNotificationCenter::ObserverId UNotificationCenter::addObserver(
    const void* observer, const QString& name, const void* sender, Handler handler)
{
    return registry_->add(observer, name, sender, std::move(handler));
}

UNotificationObservation UNotificationCenter::observe(
    const QString& name, const void* sender, Handler handler)
{
    return UNotificationObservation(
        registry_, addObserver(nullptr, name, sender, std::move(handler)));
}

void UNotificationCenter::removeObserver(ObserverId id)
{
    registry_->removeIf([id](const Registration& registration) { return registration.id == id; });
}

void UNotificationCenter::removeObserver(const void* observer)
{
    if (!observer)
        return;
    registry_->removeIf(
        [observer](const Registration& registration) { return registration.observer == observer; });
}

void UNotificationCenter::removeObserver(
    const void* observer, const QString& name, const void* sender)
{
    if (!observer)
        return;
    registry_->removeIf([&](const Registration& registration) {
        return registration.observer == observer && (name.isEmpty() || registration.name == name)
            && (!sender || registration.sender == sender);
    });
}

void UNotificationCenter::post(const UNotification& notification) const
{
    // The snapshot keeps every handler alive even when its registration is removed meanwhile.
    for (const auto& registration : registry_->matching(notification)) {
        if (registration->active)
            registration->handler(notification);
    }
}

void UNotificationCenter::post(
    const QString& name, const void* sender, const QVariantMap& userInfo) const
{
    post(UNotification { name, sender, userInfo });
}

UNotificationObservation::UNotificationObservation(
    std::weak_ptr<UNotificationCenter::Registry> registry, UNotificationCenter::ObserverId id)
    : registry_(std::move(registry))
    , id_(id)
{
}

UNotificationObservation::~UNotificationObservation()
{
    reset();
}

UNotificationObservation::UNotificationObservation(UNotificationObservation&& other) noexcept
    : registry_(std::move(other.registry_))
    , id_(std::exchange(other.id_, 0))
{
}

UNotificationObservation& UNotificationObservation::operator=(
    UNotificationObservation&& other) noexcept
{
    if (this != &other) {
        reset();
        registry_ = std::move(other.registry_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void UNotificationObservation::reset()
{
    if (id_ == 0)
        return;
    if (auto registry = registry_.lock()) {
        const auto id = id_;
        registry->removeIf(
            [id](const Registration& registration) { return registration.id == id; });
    }
    id_ = 0;
    registry_.reset();
}
