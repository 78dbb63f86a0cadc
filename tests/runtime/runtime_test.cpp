#include <gtest/gtest.h>

#include "platform/runtime/Runtime.h"

using namespace platform::runtime;

namespace {

// A small host hierarchy defined the way host processes define theirs.
class Animal : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<Animal>("TestAnimal", NSObject::runtime_class())
                               .method<&Animal::sound>("sound")
                               .method<&Animal::legs>("legs")
                               .method<&Animal::setFriend>("setFriend:")
                               .method<&Animal::rename>("rename:times:")
                               .ivar("_friend", &Animal::friend_)
                               .class_method<&Animal::kingdom>("kingdom")
                               .get();
        return cls;
    }
    int64_t sound() const { return 1; }
    int64_t legs() const { return 4; }
    void setFriend(Object* f) { friend_ = f; }
    double rename(double a, bool twice) { return twice ? a * 2 : a; }
    static int64_t kingdom(Object*) { return 7; }

    Ref<Object> friend_;
};

class Dog : public Animal {
  public:
    static Class runtime_class() {
        static Class cls =
            ClassBuilder<Dog>("TestDog", Animal::runtime_class()).method<&Dog::sound>("sound").get();
        return cls;
    }
    int64_t sound() const { return 2; }
};

// Counts live instances so tests can see exactly when an object dies.
class Tracked : public NSObject {
  public:
    static inline int alive = 0;
    Tracked() { ++alive; }
    ~Tracked() override { --alive; }
    static Class runtime_class() {
        static Class cls = ClassBuilder<Tracked>("TestTracked", NSObject::runtime_class()).get();
        return cls;
    }
};

IMP saved_sound = nullptr;
int64_t louder_sound(Object* self, SEL sel) {
    return call_imp<int64_t>(saved_sound, self, sel) * 10;
}
int64_t three(Object*, SEL) {
    return 3;
}
int64_t class_side(Object*, SEL) {
    return 70;
}

} // namespace

TEST(RuntimeClasses, LookupByNameAndMetaclass) {
    Class dog = Dog::runtime_class();
    EXPECT_EQ(objc_getClass("TestDog"), dog);
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
    EXPECT_EQ(class_getSuperclass(dog), Animal::runtime_class());
    Class meta = object_getClass(dog);
    ASSERT_NE(meta, nullptr);
    EXPECT_TRUE(meta->is_metaclass());
    EXPECT_EQ(class_getSuperclass(meta), object_getClass(Animal::runtime_class()));
    auto d = make_object<Dog>();
    EXPECT_EQ(object_getClass(d.get()), dog);
}

TEST(RuntimeMessaging, DispatchesAlongTheChainAndNilAnswersZero) {
    auto a = make_object<Animal>();
    auto d = make_object<Dog>();
    EXPECT_EQ(msg<int64_t>(a, "sound"_sel), 1);
    EXPECT_EQ(msg<int64_t>(d, "sound"_sel), 2);
    EXPECT_EQ(msg<int64_t>(d, "legs"_sel), 4);
    EXPECT_DOUBLE_EQ(msg<double>(a, "rename:times:"_sel, 1.5, true), 3.0);
    EXPECT_EQ(msg<int64_t>(Animal::runtime_class(), "kingdom"_sel), 7);
    EXPECT_EQ(msg<int64_t>(Dog::runtime_class(), "kingdom"_sel), 7);

    Object* nil = nullptr;
    EXPECT_EQ(msg<int64_t>(nil, "sound"_sel), 0);
    EXPECT_EQ(msg<double>(nil, "rename:times:"_sel, 1.5, true), 0.0);
    EXPECT_EQ(msg<Ref<Object>>(nil, "init"_sel), nullptr);
    EXPECT_FALSE(msg<bool>(nil, "respondsToSelector:"_sel, "sound"_sel));
}

TEST(RuntimeMessaging, RespondsToSelectorAndIsKindOfClass) {
    auto d = make_object<Dog>();
    auto a = make_object<Animal>();
    EXPECT_TRUE(msg<bool>(d, "respondsToSelector:"_sel, "legs"_sel));
    EXPECT_FALSE(msg<bool>(d, "respondsToSelector:"_sel, "fly"_sel));
    EXPECT_TRUE(msg<bool>(d, "isKindOfClass:"_sel, Animal::runtime_class()));
    EXPECT_FALSE(msg<bool>(a, "isKindOfClass:"_sel, Dog::runtime_class()));
    Class none = nullptr;
    EXPECT_FALSE(msg<bool>(a, "isKindOfClass:"_sel, none));
    // Class objects answer the root's instance methods through their metaclass.
    EXPECT_TRUE(msg<bool>(Dog::runtime_class(), "respondsToSelector:"_sel, "kingdom"_sel));
}

TEST(RuntimeMessaging, UnknownSelectorAnswersZero) {
    auto a = make_object<Animal>();
    EXPECT_EQ(msg<int64_t>(a, "noSuchMessage"_sel), 0);
}

TEST(RuntimeMessagingDeathTest, MismatchedTypesFailLoudly) {
    auto a = make_object<Animal>();
    EXPECT_DEATH(msg<double>(a, "legs"_sel), "TestAnimal legs\\] is q@: but was sent as d@:");
    EXPECT_DEATH(msg<void>(a, "setFriend:"_sel, 1.0), "setFriend:\\] is v@:@ but was sent as v@:d");
}

TEST(RuntimeHooks, ReplacementRunsAndSavedImplementationGivesHostBehaviour) {
    // Its own class so that the replacement does not leak into other tests.
    class Cat : public Animal {
      public:
        static Class runtime_class() {
            static Class cls = ClassBuilder<Cat>("TestCatHooked", Animal::runtime_class())
                                   .method<&Cat::sound>("sound")
                                   .get();
            return cls;
        }
        int64_t sound() const { return 5; }
    };
    auto c = make_object<Cat>();
    MSHookMessageEx(Cat::runtime_class(), "sound"_sel, imp_cast(&louder_sound), &saved_sound);
    ASSERT_NE(saved_sound, nullptr);
    EXPECT_EQ(msg<int64_t>(c, "sound"_sel), 50);
    EXPECT_EQ(call_imp<int64_t>(saved_sound, c.get(), "sound"_sel), 5);
    // The superclass keeps its own behaviour.
    EXPECT_EQ(msg<int64_t>(make_object<Animal>(), "sound"_sel), 1);
}

TEST(RuntimeHooks, InheritedMethodIsReplacedOnTheSubclassOnly) {
    Class cls = ClassBuilder<Dog>("TestPuppy", Dog::runtime_class()).get();
    IMP saved = nullptr;
    MSHookMessageEx(cls, "legs"_sel, imp_cast(&three), &saved);
    auto puppy = class_createInstance(cls);
    EXPECT_EQ(msg<int64_t>(puppy, "legs"_sel), 3);
    EXPECT_EQ(call_imp<int64_t>(saved, puppy.get(), "legs"_sel), 4);
    EXPECT_EQ(msg<int64_t>(make_object<Dog>(), "legs"_sel), 4);
}

TEST(RuntimeHooks, ClassSideThroughMetaclassAndNullClassDoesNothing) {
    Class cls = ClassBuilder<Animal>("TestKingdomHooked", Animal::runtime_class()).get();
    IMP saved = nullptr;
    MSHookMessageEx(object_getClass(cls), "kingdom"_sel, imp_cast(&class_side), &saved);
    EXPECT_EQ(msg<int64_t>(cls, "kingdom"_sel), 70);
    EXPECT_EQ(msg<int64_t>(Animal::runtime_class(), "kingdom"_sel), 7);
    EXPECT_EQ(call_imp<int64_t>(saved, cls, "kingdom"_sel), 7);

    IMP untouched = imp_cast(&three);
    MSHookMessageEx(nullptr, "sound"_sel, imp_cast(&three), &untouched);
    EXPECT_EQ(untouched, nullptr);
    MSHookMessageEx(cls, "neverImplemented"_sel, imp_cast(&three), &untouched);
    EXPECT_EQ(untouched, nullptr);
    EXPECT_FALSE(class_respondsToSelector(cls, "neverImplemented"_sel));
}

TEST(RuntimeAddMethod, OwnImplementationKeptInheritedOneOverridden) {
    Class cls = ClassBuilder<Dog>("TestAddMethodDog", Dog::runtime_class())
                    .method<&Dog::sound>("sound") // its own
                    .get();
    EXPECT_FALSE(class_addMethod(cls, "sound"_sel, imp_cast(&three), "q@:"));
    EXPECT_TRUE(class_addMethod(cls, "legs"_sel, imp_cast(&three), "q@:"));
    EXPECT_TRUE(class_addMethod(cls, "brandNew"_sel, imp_cast(&three), "q@:"));
    EXPECT_FALSE(class_addMethod(nullptr, "brandNew"_sel, imp_cast(&three), "q@:"));
    auto obj = class_createInstance(cls);
    EXPECT_EQ(msg<int64_t>(obj, "sound"_sel), 2);
    EXPECT_EQ(msg<int64_t>(obj, "legs"_sel), 3);
    EXPECT_EQ(msg<int64_t>(obj, "brandNew"_sel), 3);
    EXPECT_EQ(msg<int64_t>(make_object<Dog>(), "legs"_sel), 4);
}

namespace {
void takes_nothing(Object*, SEL) {}
Ref<Object> answers_object(Object*, SEL) {
    return nullptr;
}
void takes_object(Object*, SEL, Object*) {}
void takes_two_objects(Object*, SEL, Object*, Object*) {}
Ref<Object> maps_object(Object*, SEL, Object*) {
    return nullptr;
}
bool answers_bool(Object*, SEL) {
    return true;
}
void takes_bool(Object*, SEL, bool) {}
int64_t maps_integer(Object*, SEL, int64_t n) {
    return n + 1;
}
double mixed(Object*, SEL, const Ref<Object>&, uint64_t, double d, SEL) {
    return d;
}
} // namespace

TEST(RuntimeEncodings, AnImplementationsEncodingIsReadOffItsSignature) {
    struct Row {
        const char* derived;
        const char* expected;
    };
    const Row rows[] = {
        {encoding_of_implementation<&takes_nothing>(), "v@:"},
        {encoding_of_implementation<&answers_object>(), "@@:"},
        {encoding_of_implementation<&takes_object>(), "v@:@"},
        {encoding_of_implementation<&takes_two_objects>(), "v@:@@"},
        {encoding_of_implementation<&maps_object>(), "@@:@"},
        {encoding_of_implementation<&answers_bool>(), "B@:"},
        {encoding_of_implementation<&takes_bool>(), "v@:B"},
        {encoding_of_implementation<&maps_integer>(), "q@:q"},
        {encoding_of_implementation<&mixed>(), "d@:@Qd:"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.derived, row.expected);
}

// A method added under its derived encoding takes the typed sends its signature promises.
TEST(RuntimeEncodings, AMethodAddedUnderItsDerivedEncodingAcceptsMatchingSends) {
    Class cls = ClassBuilder<Animal>("TestDerivedEncoding", Animal::runtime_class()).get();
    ASSERT_TRUE(class_addMethod(cls, "next:"_sel, imp_cast(&maps_integer),
                                encoding_of_implementation<&maps_integer>()));
    auto obj = class_createInstance(cls);
    EXPECT_EQ(msg<int64_t>(obj, "next:"_sel, int64_t{41}), 42);
}

TEST(RuntimeAssociations, RetainedUntilReplacedOrOwnerDies) {
    static const char key = 0;
    Tracked::runtime_class();
    ASSERT_EQ(Tracked::alive, 0);
    {
        auto owner = make_object<Animal>();
        {
            auto first = make_object<Tracked>();
            objc_setAssociatedObject(owner, &key, first, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        }
        EXPECT_EQ(Tracked::alive, 1);
        EXPECT_NE(objc_getAssociatedObject(owner, &key), nullptr);
        objc_setAssociatedObject(owner, &key, make_object<Tracked>(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        EXPECT_EQ(Tracked::alive, 1); // the first value was released on replacement
        objc_setAssociatedObject(owner, &key, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        EXPECT_EQ(Tracked::alive, 0);
        EXPECT_EQ(objc_getAssociatedObject(owner, &key), nullptr);
        objc_setAssociatedObject(owner, &key, make_object<Tracked>(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        EXPECT_EQ(Tracked::alive, 1);
    }
    EXPECT_EQ(Tracked::alive, 0); // released with its owner
    EXPECT_EQ(objc_getAssociatedObject(nullptr, &key), nullptr);
}

TEST(RuntimeIvars, ReadAndWriteByName) {
    auto a = make_object<Dog>();
    auto f = make_object<Tracked>();
    a->setFriend(f);
    EXPECT_EQ(object_getIvarNamed(a, "_friend"), f.get());
    EXPECT_EQ(object_getIvarNamed(a, "_missing"), nullptr);
    EXPECT_EQ(object_getIvarNamed(nullptr, "_friend"), nullptr);
    Ivar iv = class_getInstanceVariable(object_getClass(a.get()), "_friend");
    ASSERT_NE(iv, nullptr);
    EXPECT_STREQ(ivar_getName(iv), "_friend");
    auto other = make_object<Tracked>();
    object_setIvar(a, iv, other);
    EXPECT_EQ(a->friend_.get(), other.get());
    EXPECT_EQ(other->retain_count(), 2);
    object_setIvar(a, iv, nullptr);
    EXPECT_EQ(other->retain_count(), 1);
}

TEST(RuntimeSelectors, InternedByName) {
    SEL a = sel_registerName("someSelector:");
    EXPECT_EQ(a, sel_registerName(std::string("someSelector:")));
    EXPECT_EQ(a, "someSelector:"_sel);
    EXPECT_NE(a, sel_registerName("someSelector"));
    EXPECT_STREQ(sel_getName(a), "someSelector:");
}
