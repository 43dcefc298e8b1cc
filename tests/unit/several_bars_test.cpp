// Several bars, one per program folder: which starts count as the same
// folder, and how bars on one edge stack through the shell without moving
// one another back and forth.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "app/startup.h"
#include "bar/bar_geometry.h"

using namespace tavi;

TEST(BarLockName, EverySpellingOfOneFolderIsOneBarAndOtherFoldersAreOthers) {
    const std::string tools = BarLockName("C:\\Tools\\Tavi");
    for (const char* same : {"c:\\tools\\tavi", "C:\\Tools\\Tavi\\", "C:/Tools/Tavi", "\\\\?\\C:\\TOOLS\\TAVI\\"})
        EXPECT_EQ(BarLockName(same), tools) << same;
    EXPECT_EQ(BarLockName("\\\\?\\UNC\\server\\share\\Tavi"), BarLockName("\\\\SERVER\\share\\tavi"));
    EXPECT_EQ(BarLockName("C:\\"), BarLockName("c:\\")) << "a root keeps its separator";
    for (const char* other : {"C:\\Tools\\Tavi2", "D:\\Tools\\Tavi", "C:\\Tools", "C:\\Tools\\ﾀﾋﾞ"})
        EXPECT_NE(BarLockName(other), tools) << other;
    EXPECT_EQ(tools.rfind("Global\\TaviMenu2.Bar.", 0), 0u) << "one bar per folder across logon sessions";
    EXPECT_EQ(tools.find('\\', 7), std::string::npos) << "no separator after the namespace";
}

namespace {

// The shell's side of the appbar protocol as the system has it: appbars in
// the order they registered, each answer cut by those before it, and every
// other appbar told when a reserved strip moves or goes.
class AppBarShell {
public:
    struct Bar {
        int id;
        Rect rc;
        bool reserved = false;
        DockEdge edge;
    };
    std::vector<Bar> bars;
    std::deque<int> notices;  // appbars told of a change, in order

    void New(int id, DockEdge edge) { bars.push_back({id, {}, false, edge}); }
    void Remove(int id) {
        std::erase_if(bars, [&](const Bar& b) { return b.id == id; });
        TellOthers(id);
    }
    Rect Query(int id, Rect rc) const {
        for (const Bar& b : bars) {
            if (b.id == id) break;
            if (!b.reserved) continue;
            switch (b.edge) {
                case DockEdge::Left: rc.left = std::max(rc.left, b.rc.right); break;
                case DockEdge::Right: rc.right = std::min(rc.right, b.rc.left); break;
                case DockEdge::Top: rc.top = std::max(rc.top, b.rc.bottom); break;
                case DockEdge::Bottom: rc.bottom = std::min(rc.bottom, b.rc.top); break;
            }
        }
        return rc;
    }
    void Set(int id, const Rect& rc) {
        for (Bar& b : bars) {
            if (b.id != id) continue;
            const bool moved = !b.reserved || b.rc != rc;
            b.rc = rc;
            b.reserved = true;
            if (moved) TellOthers(id);
        }
    }

private:
    void TellOthers(int id) {
        for (const Bar& b : bars)
            if (b.id != id) notices.push_back(b.id);
    }
};

// One of our bars: it asks for its strip at the edge and goes where the
// answer puts it, and moves again only when the answer has changed.
struct OurBar {
    int id;
    DockEdge edge;
    BarLayout unstacked;
    StackOffset offset;
    BarLayout placed;
    int moves = 0;

    void Dock(AppBarShell& shell) {
        const StackOffset now =
            StackOffsetFor(edge, unstacked.appBarPixels, shell.Query(id, unstacked.appBarPixels));
        if (moves > 0 && now == offset) return;  // the place is the same: no move, no notice
        offset = now;
        placed = Stacked(unstacked, offset, 15, 15);
        shell.Set(id, placed.appBarPixels);
        ++moves;
    }
};

BarLayout LayoutOn(DockEdge edge) {
    LayoutInput input;
    input.edge = edge;
    input.autoHide = false;
    input.screen = MakeScreenInfo(1280, 1024, 96, 96, {});
    return LayoutBar(input);
}

// Delivers the shell's notices until none are left; false when they never end.
bool Settle(AppBarShell& shell, std::vector<OurBar>& bars) {
    for (int delivered = 0; !shell.notices.empty(); ++delivered) {
        if (delivered > 100) return false;
        const int id = shell.notices.front();
        shell.notices.pop_front();
        for (OurBar& bar : bars)
            if (bar.id == id) bar.Dock(shell);
    }
    return true;
}

// The outer side of a bar's window: where it touches the edge or the bar before it.
int32_t Outer(DockEdge edge, const Rect& r) {
    switch (edge) {
        case DockEdge::Left: return r.left;
        case DockEdge::Right: return r.right;
        case DockEdge::Top: return r.top;
        case DockEdge::Bottom: return r.bottom;
    }
    return 0;
}
int32_t Inner(DockEdge edge, const Rect& r) {
    switch (edge) {
        case DockEdge::Left: return r.right;
        case DockEdge::Right: return r.left;
        case DockEdge::Top: return r.bottom;
        case DockEdge::Bottom: return r.top;
    }
    return 0;
}

}  // namespace

// Two and three bars on each edge, started in turn, then one of them closing:
// each stands flush against the edge or the bar started before it, reserves
// its own strip, and a bar moves only when its place has really changed.
TEST(StackedBars, BarsOnOneEdgeStandSideBySideAndCloseUpWhenOneGoes) {
    for (const DockEdge edge : {DockEdge::Left, DockEdge::Right, DockEdge::Top, DockEdge::Bottom}) {
        for (const int count : {2, 3}) {
            for (int closing = 0; closing < count; ++closing) {
                SCOPED_TRACE("edge " + std::to_string(static_cast<int>(edge)) + ", " + std::to_string(count) +
                             " bars, bar " + std::to_string(closing) + " closing");
                AppBarShell shell;
                std::vector<OurBar> bars;
                for (int i = 0; i < count; ++i) {
                    bars.push_back({i, edge, LayoutOn(edge)});
                    shell.New(i, edge);
                    bars.back().Dock(shell);
                    ASSERT_TRUE(Settle(shell, bars)) << "the bars never settle";
                }
                const auto check = [&](const std::vector<int>& order) {
                    const Rect monitor{0, 0, 1280, 1024};
                    int32_t expected = Outer(edge, monitor);
                    for (const int id : order) {
                        const auto bar = std::find_if(bars.begin(), bars.end(), [&](const OurBar& b) { return b.id == id; });
                        const auto held = std::find_if(shell.bars.begin(), shell.bars.end(),
                                                       [&](const AppBarShell::Bar& b) { return b.id == id; });
                        // Strips side by side from the edge; each window ends where its strip does.
                        EXPECT_EQ(Outer(edge, bar->placed.appBarPixels), expected) << "bar " << id << " flush";
                        EXPECT_EQ(Inner(edge, bar->placed.windowPixels), Inner(edge, bar->placed.appBarPixels));
                        EXPECT_EQ(bar->placed.appBarPixels, held->rc) << "bar " << id << " reserves its own strip";
                        expected = Inner(edge, bar->placed.appBarPixels);
                    }
                };
                std::vector<int> order;
                for (int i = 0; i < count; ++i) order.push_back(i);
                check(order);
                for (const OurBar& bar : bars) EXPECT_EQ(bar.moves, 1) << "bar " << bar.id << " moved once";

                shell.Remove(closing);
                bars.erase(bars.begin() + closing);
                order.erase(order.begin() + closing);
                ASSERT_TRUE(Settle(shell, bars));
                check(order);
                for (const OurBar& bar : bars)
                    EXPECT_EQ(bar.moves, bar.id > closing ? 2 : 1) << "only the bars past the gap move, once";
            }
        }
    }
}
