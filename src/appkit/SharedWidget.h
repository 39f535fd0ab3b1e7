#pragma once

#include <QCoreApplication>

#include <memory>

// One application-wide widget of a kind, made on first use. It goes before the application object
// does, since a widget may not outlive it.
template <typename Widget> class SharedWidget {
public:
    template <typename Make> static Widget& widget(Make make)
    {
        std::unique_ptr<Widget>& shared = holder();
        if (shared == nullptr) {
            shared = make();
            qAddPostRoutine(&release);
        }
        return *shared;
    }
    // Null until the first use.
    static Widget* existing() { return holder().get(); }

private:
    static std::unique_ptr<Widget>& holder()
    {
        static std::unique_ptr<Widget> shared;
        return shared;
    }
    static void release() { holder().reset(); }
};
