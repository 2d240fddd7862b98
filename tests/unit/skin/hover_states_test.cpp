#include "skin/hover_states.h"
#include "skin/pictures.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

struct Context : HoverContext {
    bool error = false;
    int page = 1, language = 1;
    bool overRecord = false;
    bool errorPage() const override { return error; }
    int pageSelector() const override { return page; }
    int languageSelector() const override { return language; }
    void setPointerOverRecord(bool over) override { overRecord = over; }
};

struct Hover : ::testing::Test {
    ui::Form form{"f"};
    Context context;
    void SetUp() override {
        int x = 0;
        for (const char* b : {"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Save", "Lang1",
                              "Lang2", "Start", "Apply", "Web"}) {
            form.add(ui::ControlKind::Picture, std::string("Img_") + b).setBounds({x, 0, 10, 10});
            form.add(ui::ControlKind::Label, std::string("Btn_") + b).setBounds({x, 0, 10, 10});
            x += 20;
        }
        LoadSkinImages(form, context.page);
        attachHoverHandlers(form, context);
    }
    std::string picture(const std::string& name) { return form.at(name).picture(); }
    void pass(const std::string& button) {
        const ui::Rect r = form.at(button).bounds();
        form.pointerMove(r.x + 1, r.y + 1);
        form.pointerMove(1000, 1000);
    }
};

TEST_F(Hover, NavigationLeaveRestoresTheSelectedButton) {
    context.page = 6;
    form.at("Btn_Macro").onMouseEnter(form.at("Btn_Macro"));  // as after a navigation
    showSelectedNavigation(form, context);
    form.pointerMove(61, 1);  // over Btn_Adv
    EXPECT_EQ(picture("Img_Adv"), "SetS_03");
    form.pointerMove(1000, 1000);
    EXPECT_EQ(picture("Img_Adv"), "SetS_01");
    EXPECT_EQ(picture("Img_Macro"), "SetS_02");
    pass("Btn_Save");
    EXPECT_EQ(picture("Img_Save"), "SetS_01");
    EXPECT_EQ(picture("Img_Macro"), "SetS_02");
}

TEST_F(Hover, NothingLooksSelectedOnTheErrorPage) {
    context.error = true;
    for (const char* n :
         {"Img_Main", "Img_Switch", "Img_Fixed", "Img_Adv", "Img_Breath", "Img_Macro"}) {
        showPicture(form.at(n), "SetS_01");
    }
    for (const char* b : {"Btn_Main", "Btn_Switch", "Btn_Adv"}) pass(b);
    for (const char* n :
         {"Img_Main", "Img_Switch", "Img_Fixed", "Img_Adv", "Img_Breath", "Img_Macro"}) {
        EXPECT_EQ(picture(n), "SetS_01") << n;
    }
}

TEST_F(Hover, LanguageLeaveMarksTheCurrentLanguage) {
    context.language = 2;
    pass("Btn_Lang1");
    EXPECT_EQ(picture("Img_Lang1"), "SetS_01");
    EXPECT_EQ(picture("Img_Lang2"), "SetS_02");
}

TEST_F(Hover, RecordButtonSetsThePointerFlagAndOthersTheirPictures) {
    const ui::Rect r = form.at("Btn_Start").bounds();
    form.pointerMove(r.x + 1, 1);
    EXPECT_TRUE(context.overRecord);
    EXPECT_EQ(picture("Img_Start"), "MacroS_02");
    form.pointerMove(1000, 1000);
    EXPECT_FALSE(context.overRecord);
    EXPECT_EQ(picture("Img_Start"), "MacroS_01");
    form.pointerMove(form.at("Btn_Apply").bounds().x + 1, 1);
    EXPECT_EQ(picture("Img_Apply"), "BtnS_02");
    showPressed(form, "Btn_Apply");
    EXPECT_EQ(picture("Img_Apply"), "BtnS_03");
    form.pointerMove(1000, 1000);
    EXPECT_EQ(picture("Img_Apply"), "BtnS_01");
    EXPECT_EQ(picture("Img_Web"), "WebS_01");
    EXPECT_EQ(pressedPicture("Btn_Web"), "WebS_02");
    EXPECT_EQ(pressedPicture("Btn_Save"), "SetS_02");
    EXPECT_EQ(pressedPicture("Img_Base"), "");
}

TEST_F(Hover, MissingPictureLeavesTheControlEmptyNamed) {
    ui::Control& c = form.at("Img_Main");
    showPicture(c, "NoSuchPicture");
    EXPECT_EQ(c.picture(), "NoSuchPicture");
    EXPECT_EQ(pictures().get("NoSuchPicture"), nullptr);
    EXPECT_EQ(pictureNameOf("Btn_Confirm"), "Img_Confirm");
    EXPECT_EQ(pictureNameOf("Btn_Lang2"), "Img_Lang2");
}

}  // namespace
}  // namespace skin
