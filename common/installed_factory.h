#pragma once

#include <functional>
#include <memory>

namespace common {

// The one installed maker of a kind of object that a lower layer creates but a program, a tool
// or a test chooses (a progress view: a dialog, lines on stderr, a recorder), given what the
// lower layer tells it (Args). Each kind keeps its own.
template <typename Product, typename... Args>
class InstalledFactory {
public:
    using Factory = std::function<std::unique_ptr<Product>(Args...)>;

    // An empty factory restores the default.
    static void Install(Factory factory) { Installed() = std::move(factory); }
    // Made by the installed factory, else by the default.
    static std::unique_ptr<Product> Create(const Factory& fallback, Args... args)
    {
        const Factory& factory = Installed();
        return factory ? factory(args...) : fallback(args...);
    }

    // Installs a factory for the lifetime of the guard.
    class Scoped {
    public:
        explicit Scoped(Factory factory) : m_previous(Installed()) { Install(std::move(factory)); }
        ~Scoped() { Install(std::move(m_previous)); }
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        Factory m_previous;
    };

private:
    static Factory& Installed()
    {
        static Factory factory;
        return factory;
    }
};

} // namespace common
