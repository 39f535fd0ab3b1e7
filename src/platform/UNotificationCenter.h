#pragma once

#include "platform/UNotification.h"

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

class UNotificationObservation;

// Delivers notifications by name, synchronously on the posting thread, to observers in the order
// they were added. Qt's signals are typed per sender class; the model posts by name to a centre
// of its own or the default one, with observers that filter by name and sender, so this is ours.
//
// Adding and removing observers is thread-safe and allowed from inside an observer: an observer
// removed during a post is not called afterwards, one added during a post is first called for
// the next post. Observers are never called with the centre's lock held.
class UNotificationCenter {
public:
    using Handler = std::function<void(const UNotification&)>;
    using ObserverId = quint64;

    UNotificationCenter();
    ~UNotificationCenter();
    UNotificationCenter(const UNotificationCenter&) = delete;
    UNotificationCenter& operator=(const UNotificationCenter&) = delete;

    // The process's shared centre.
    static UNotificationCenter& defaultCenter();

    // Observes notifications called `name` (every name when empty) posted by `sender` (any
    // sender when null). `observer` tags the registration for removeObserver(observer); it may
    // be null. Returns the id of the registration.
    ObserverId addObserver(
        const void* observer, const QString& name, const void* sender, Handler handler);
    // The same, returning a registration that ends when the returned object is destroyed.
    [[nodiscard]] UNotificationObservation observe(
        const QString& name, const void* sender, Handler handler);

    void removeObserver(ObserverId id);
    // Removes every registration tagged with `observer`.
    void removeObserver(const void* observer);
    // Removes the registrations of `observer` for `name` (any when empty) and `sender` (any when
    // null).
    void removeObserver(const void* observer, const QString& name, const void* sender);

    void post(const UNotification& notification) const;
    void post(const QString& name, const void* sender, const QVariantMap& userInfo = {}) const;

    class Registry;

private:
    std::shared_ptr<Registry> registry_;
};

// A registration with a centre that ends with this object (or earlier through reset()). It may
// outlive its centre.
class UNotificationObservation {
public:
    UNotificationObservation() = default;
    UNotificationObservation(
        std::weak_ptr<UNotificationCenter::Registry> registry, UNotificationCenter::ObserverId id);
    ~UNotificationObservation();
    UNotificationObservation(UNotificationObservation&& other) noexcept;
    UNotificationObservation& operator=(UNotificationObservation&& other) noexcept;
    UNotificationObservation(const UNotificationObservation&) = delete;
    UNotificationObservation& operator=(const UNotificationObservation&) = delete;

    void reset();
    bool isActive() const { return id_ != 0; }

private:
    std::weak_ptr<UNotificationCenter::Registry> registry_;
    UNotificationCenter::ObserverId id_ = 0;
};
