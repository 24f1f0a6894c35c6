#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "bench/DiscardingBackend.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTBoids.h"
#include "engine/render/KTParticleSystem.h"
#include "engine/render/KTRender.h"

namespace kt {
namespace {

constexpr float kFrame = 1.0f / 60;

// A running scene holding a particle system with the given number of long-lived particles, spread over the
// screen with random speeds, about a third of them spinning.
struct ParticleScene {
    explicit ParticleScene(int count) {
        KTDirector& director = KTDirector::shared();
        director.shutdown();
        director.setRenderer(render);
        director.enqueueScene(scene);
        director.nextScene();
        // The nodes were made before the renderer was installed.
        scene->setRender(render);
        system->setRender(render);
        system->setSize({16, 16});
        system->setMidColor(Color{0x80FFFF00});
        scene->addChild(system);
        for (int i = 0; i < count; ++i) {
            KTParticle particle;
            particle.maxEnergy = particle.energy = 1e9f;
            particle.position = {randf(0, 1024), randf(0, 768)};
            particle.speed = {randf(-50, 50), randf(-50, 50)};
            particle.acc = {0, 20};
            particle.spin = i % 3 == 0 ? 90.0f : 0.0f;
            system->emit(particle);
        }
    }
    ~ParticleScene() { KTDirector::shared().shutdown(); }

    std::shared_ptr<bench::DiscardingBackend> backend = std::make_shared<bench::DiscardingBackend>();
    std::shared_ptr<KTRender> render = std::make_shared<KTRender>(backend);
    std::shared_ptr<KTScene> scene = KTNode::node<KTScene>();
    std::shared_ptr<KTParticleSystem> system = KTNode::node<KTParticleSystem>();
};

void BM_ParticleSystemUpdate(benchmark::State& state) {
    ParticleScene setup(static_cast<int>(state.range(0)));
    for (auto _ : state)
        setup.system->update(kFrame);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParticleSystemUpdate)->Arg(5000);

void BM_ParticleSystemDraw(benchmark::State& state) {
    ParticleScene setup(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        setup.render->begin();
        setup.system->draw();
        setup.render->end();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParticleSystemDraw)->Arg(5000);

// A flock of the given size in a 600 x 400 rectangle, one frame per iteration.
void BM_BoidsUpdate(benchmark::State& state) {
    KTDirector::shared().shutdown();
    auto scene = KTNode::node<KTScene>();
    KTDirector::shared().enqueueScene(scene);
    KTDirector::shared().nextScene();
    auto flock = KTNode::node<KTBoids>();
    flock->setBoidsCount(static_cast<unsigned>(state.range(0)));
    flock->setSize({600, 400});
    scene->addChild(flock);
    for (const auto& boid : flock->boids())
        boid->pos = {randf(0, 600), randf(0, 400)};
    for (auto _ : state)
        flock->update(kFrame);
    KTDirector::shared().shutdown();
}
BENCHMARK(BM_BoidsUpdate)->Arg(13)->Arg(100);

}  // namespace
}  // namespace kt
